#include "common/stored_date_time.h"

#include <gtest/gtest.h>

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

}  // namespace
