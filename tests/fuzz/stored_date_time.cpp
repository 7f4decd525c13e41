// Stored date-times as another program or a damaged file may hold them, one per line, read by a
// walk's reader in turn: the walk's reader and the plain reader agree on every line whatever
// came before, from bytes and from text, and a date-time read is written back in the stored form
// and reads back as itself.

#include <QByteArrayView>
#include <QDateTime>
#include <QRegularExpression>
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "common/stored_date_time.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The ward's own zone, whose summer times of 1986 to 1991 give local times that happen twice
    // or never.
    setenv("TZ", "Asia/Shanghai", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView input(data, static_cast<qsizetype>(size));
    static const QRegularExpression storedForm(
        QStringLiteral(R"(^\d{4}-\d\d-\d\d[ T]\d\d:\d\d:\d\d$)"));
    common::StoredDateTimeReader walkReader;
    qsizetype start = 0;
    while (start <= input.size()) {
        qsizetype end = input.indexOf('\n', start);
        end = end < 0 ? input.size() : end;
        const QByteArrayView utf8 = input.sliced(start, end - start);
        start = end + 1;

        const QString text = QString::fromUtf8(utf8);
        const auto detail = [&] { return QString(QStringLiteral("stored text: ") + text); };
        const QDateTime value = common::fromStoredDateTime(utf8);
        FUZZ_REQUIRE(common::fromStoredDateTime(QStringView(text)) == value, detail());
        FUZZ_REQUIRE(walkReader.read(utf8) == value, detail());
        FUZZ_REQUIRE(walkReader.read(QStringView(text)) == value, detail());
        if (!value.isValid()) {
            continue;
        }

        const QString stored = common::toStoredDateTime(value);
        const QDateTime reread = common::fromStoredDateTime(QStringView(stored));
        const auto storedDetail = [&] {
            return QString(detail() + QStringLiteral(", written as ") + stored);
        };
        FUZZ_REQUIRE(reread.isValid(), storedDetail());
        FUZZ_REQUIRE(common::toStoredDateTime(reread) == stored, storedDetail());
        // A value read from the stored form itself comes back exactly.
        if (storedForm.match(text).hasMatch()) {
            FUZZ_REQUIRE(reread == value, storedDetail());
        }
    }
    return 0;
}
