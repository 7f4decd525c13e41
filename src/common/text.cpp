#include "common/text.h"

#include <QList>
#include <algorithm>

namespace common {

namespace {

int characterByteLength(char32_t codePoint) {
    return codePoint < 0x80 ? 1 : 2;
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
    for (const char32_t codePoint : text.toUcs4()) {
        bytes += characterByteLength(codePoint);
    }
    return bytes;
}

QString truncateToCodePageBytes(const QString& text, int maxBytes) {
    const QList<uint> codePoints = text.toUcs4();
    int bytes = 0;
    QString kept;
    for (const uint codePoint : codePoints) {
        bytes += characterByteLength(codePoint);
        if (bytes > maxBytes) {
            break;
        }
        const char32_t character = codePoint;
        kept += QString::fromUcs4(&character, 1);
    }
    return kept;
}

}  // namespace common
