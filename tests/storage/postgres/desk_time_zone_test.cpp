#include "storage/postgres/desk_time_zone.h"

#include <gtest/gtest.h>

#include <QTimeZone>

#include "storage/postgres/connection.h"
#include "support/postgres_test_server.h"

namespace {

// A server that lacks the desk zone's name is given the clock's offset instead: east of Greenwich
// is a negative POSIX offset, and half hours stay.
TEST(DeskTimeZone, AnOffsetInPosixFormReadsOnTheServerAsTheDesksClock) {
    ASSERT_TRUE(postgres_test::serverIsGiven()) << postgres_test::kNoServerMessage;
    storage::PostgresConnection server;
    ASSERT_TRUE(server.open(postgres_test::serverUri())) << server.failureReason().toStdString();
    const QDateTime instant(QDate(2026, 3, 1), QTime(0, 0), QTimeZone::utc());
    struct Case {
        QByteArray zone;
        QString setting;
    };
    const Case cases[] = {
        {"Asia/Shanghai", QStringLiteral("<+0800>-08:00")},
        {"Asia/Kathmandu", QStringLiteral("<+0545>-05:45")},
        {"America/St_Johns", QStringLiteral("<-0330>+03:30")},
        {"UTC", QStringLiteral("<+0000>-00:00")},
    };
    for (const Case& desk : cases) {
        SCOPED_TRACE(desk.zone.toStdString());
        const QDateTime deskClock = instant.toTimeZone(QTimeZone(desk.zone));
        EXPECT_EQ(storage::deskFixedOffsetZone(deskClock), desk.setting);
        EXPECT_EQ(server
                      .run(QStringLiteral("SELECT ($1::timestamptz AT TIME ZONE $2)::text"),
                           {instant.toString(Qt::ISODate), desk.setting})
                      .text(0, 0),
                  deskClock.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    }
}

}  // namespace
