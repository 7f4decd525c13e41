#include "common/stored_date_time.h"

#include <gtest/gtest.h>

#include <ctime>

#include "support/qt_printers.h"

namespace {

// A walk remembers the date-times it has made; a damaged text with a field out of range must not
// read as the valid date-time it would carry into, nor that one as the damaged one.
TEST(StoredDateTimeReader, ReadsEveryTextAsThePlainReaderWhateverCameBefore) {
    // Each pair shared a key once: a day 99 with a later month, hour 24 with the next day,
    // minute 60 with the next hour.
    const QList<QByteArray> texts = {"2024-04-03 00:00:00", "2024-01-99 00:00:00",
                                     "2024-01-01 24:00:00", "2024-01-02 00:00:00",
                                     "2024-01-01 10:60:00", "2024-01-01 11:00:00"};
    common::StoredDateTimeReader reader;
    for (const QByteArray& text : texts) {
        EXPECT_EQ(reader.read(QByteArrayView(text)),
                  common::fromStoredDateTime(QByteArrayView(text)))
            << text.constData();
    }
}

// In the ward's zone the clocks went back from 02:00 to 01:00 on 11 September 1988, so 01:30
// happened twice. It reads as the first time, whatever the C library converted before.
TEST(StoredDateTime, ALocalTimeThatHappenedTwiceReadsAsTheFirstOneAlways) {
    const QByteArray zoneBefore = qgetenv("TZ");
    qputenv("TZ", "Asia/Shanghai");
    tzset();
    const QDateTime first =
        QDateTime::fromString(QStringLiteral("1988-09-10T16:30:00Z"), Qt::ISODate);
    for (const char* convertedBefore : {"1988-09-10T17:30:00Z", "1988-09-10T16:30:00Z"}) {
        // Converting one of the two instants leaves its offset behind as the C library's guess.
        (void)QDateTime::fromString(QString::fromLatin1(convertedBefore), Qt::ISODate)
            .toLocalTime()
            .toString();
        EXPECT_EQ(common::fromStoredDateTime(QByteArrayView("1988-09-11 01:30:00")), first)
            << convertedBefore;
    }
    zoneBefore.isNull() ? qunsetenv("TZ") : qputenv("TZ", zoneBefore);
    tzset();
}

// The offsets of the days read are remembered: a day where the clocks go back is remembered as
// such whatever was read of it first, and a change of zone forgets them all.
TEST(StoredDateTime, RemembersTheOffsetsOfADayOnlyForItsZone) {
    const QByteArray zoneBefore = qgetenv("TZ");
    const auto instant = [](const char* text) {
        return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
    };
    const struct {
        const char* zone;
        const char* stored;
        QDateTime reads;
    } reads[] = {
        {"Europe/Berlin", "2026-10-25 12:00:00", instant("2026-10-25T11:00:00Z")},
        {"Europe/Berlin", "2026-10-25 02:30:00", instant("2026-10-25T00:30:00Z")},
        {"Europe/Berlin", "2026-07-01 12:00:00", instant("2026-07-01T10:00:00Z")},
        {"UTC", "2026-07-01 12:00:00", instant("2026-07-01T12:00:00Z")},
        {"Asia/Shanghai", "2026-07-01 12:00:00", instant("2026-07-01T04:00:00Z")},
    };
    for (const auto& read : reads) {
        qputenv("TZ", read.zone);
        tzset();
        EXPECT_EQ(common::fromStoredDateTime(QByteArrayView(read.stored)), read.reads)
            << read.zone << ' ' << read.stored;
    }
    zoneBefore.isNull() ? qunsetenv("TZ") : qputenv("TZ", zoneBefore);
    tzset();
}

}  // namespace
