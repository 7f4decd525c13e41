#include "common/text.h"

#include <algorithm>

namespace common {

namespace {

// A surrogate pair is one character of two units; a lone surrogate stands for itself.
qsizetype characterUnits(QStringView text, qsizetype index) {
    const bool pair = text[index].isHighSurrogate() && index + 1 < text.size() &&
                      text[index + 1].isLowSurrogate();
    return pair ? 2 : 1;
}

int characterByteLength(QChar firstUnit) {
    return firstUnit.unicode() < 0x80 ? 1 : 2;
}

}  // namespace

bool textEquals(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseSensitive) == 0;
}

bool isBlank(QStringView text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c == QLatin1Char(' ') || c == QChar(0x3000); });
}

int codePageByteLength(QStringView text) {
    int bytes = 0;
    for (qsizetype i = 0; i < text.size(); i += characterUnits(text, i)) {
        bytes += characterByteLength(text[i]);
    }
    return bytes;
}

QString truncateToCodePageBytes(const QString& text, int maxBytes) {
    int bytes = 0;
    qsizetype kept = 0;
    while (kept < text.size()) {
        bytes += characterByteLength(text[kept]);
        if (bytes > maxBytes) {
            break;
        }
        kept += characterUnits(text, kept);
    }
    // Cut, never rewritten: a lone surrogate stays what it was.
    return text.left(kept);
}

}  // namespace common
