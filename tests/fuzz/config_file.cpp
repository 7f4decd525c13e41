// The desk's settings file as someone may have edited it by hand: any bytes are read without a
// crash; every offset taken is within its limits and every form area within the page; writing
// the print settings back keeps every line that is not a print setting and reads back as the
// same settings, and once the file's line ends are settled, writing them again changes nothing.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <cstdint>
#include <cstdlib>

#include "fuzz_check.h"
#include "settings/desk_config.h"

namespace {

// The file's lines after a byte-order mark, split at LF, without the CRs at their ends: a lone
// CR at the end of the file becomes part of a line end once the file is saved.
QList<QByteArray> linesOf(QByteArrayView content) {
    QByteArray bytes(content.data(), content.size());
    if (bytes.startsWith("\xef\xbb\xbf")) {
        bytes.remove(0, 3);
    }
    QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray& line : lines) {
        while (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    return lines;
}

bool isPrintSettingLine(const QByteArray& line) {
    const QString text = QString::fromUtf8(line);
    const qsizetype equals = text.indexOf(u'=');
    return equals > 0 && printing::isPrintSettingKey(text.first(equals).trimmed());
}

// Whether every line of the original that is not a print setting is in the written file, in
// its order.
bool keepsOtherLines(QByteArrayView original, QByteArrayView written) {
    const QList<QByteArray> writtenLines = linesOf(written);
    qsizetype next = 0;
    for (const QByteArray& line : linesOf(original)) {
        if (line.isEmpty() || isPrintSettingLine(line)) {
            continue;
        }
        while (next < writtenLines.size() && writtenLines[next] != line) {
            ++next;
        }
        if (next == writtenLines.size()) {
            return false;
        }
        ++next;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView content(data, static_cast<qsizetype>(size));
    const settings::DeskConfig config = settings::parseDeskConfig(content);
    const printing::PrintSettings& settings = config.printing;
    const auto detail = [&] { return QString::fromUtf8(content); };
    FUZZ_REQUIRE(std::abs(settings.offset.x()) <= printing::kOffsetLimit, detail());
    FUZZ_REQUIRE(std::abs(settings.offset.y()) <= printing::kOffsetLimit, detail());

    const QByteArray written = settings::withPrintSettings(content, settings);
    const settings::DeskConfig reread = settings::parseDeskConfig(written);
    FUZZ_REQUIRE(reread.printing == settings, QString::fromUtf8(written));
    FUZZ_REQUIRE(reread.database == config.database, QString::fromUtf8(written));
    // A line end of another kind than the file's own (a lone CR at the end) is settled by the
    // first save; from then on saving changes nothing.
    const QByteArray settled = settings::withPrintSettings(written, settings);
    FUZZ_REQUIRE(settings::withPrintSettings(settled, settings) == settled,
                 QString::fromUtf8(settled));
    FUZZ_REQUIRE(
        keepsOtherLines(content, written),
        QString::fromLatin1(QByteArray(content.data(), content.size()).toPercentEncoding()) +
            QStringLiteral(" -> ") + QString::fromLatin1(written.toPercentEncoding()));
    return 0;
}
