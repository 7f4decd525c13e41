#include <gtest/gtest.h>

#include <ctime>
#include <optional>

#include "shift_fixture.h"
#include "store/journal.h"
#include "store/settlement.h"
#include "store_fixture.h"
#include "support/scoped_environment.h"

namespace {

using store::Database;
using store_test::receipt;

const QString kCashier = QStringLiteral("491MX");

// A desk in Asia/Shanghai in front of a server that keeps UTC, as many servers do.
class WardTime : public store_test::StoreTest {
protected:
    void SetUp() override {
        m_zone.emplace();
        m_zone->set("TZ", "Asia/Shanghai");
        tzset();
        StoreTest::SetUp();
        if (GetParam() == EngineKind::Postgres) {
            runSql(
                QStringLiteral("DO $$ BEGIN EXECUTE format('ALTER DATABASE %I SET timezone = "
                               "''UTC''', current_database()); END $$"));
        }
    }
    void TearDown() override {
        StoreTest::TearDown();
        m_zone.reset();
        tzset();
    }

    std::optional<support::ScopedEnvironment> m_zone;
};

INSTANTIATE_TEST_SUITE_P(Engines, WardTime,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

// Every stored time is the ward's local time, so that a settlement made after midnight lands on
// the ward's day sheet of that day.
TEST_P(WardTime, EventsAndSettlementsCarryTheWardsTime) {
    Database desk(databaseLocation());
    QString error;
    ASSERT_TRUE(desk.prepare(&error)) << error.toStdString();
    ASSERT_EQ(
        store::saveNewReceipt(desk, receipt(QStringLiteral("1"), QStringLiteral("甲"))).outcome,
        store::SaveOutcome::Saved);
    QList<store::JournalEntry> entries;
    ASSERT_TRUE(store::readOpenEntries(desk, kCashier, &entries, &error)) << error.toStdString();
    ASSERT_EQ(entries.size(), 1);
    EXPECT_LE(std::abs(entries[0].time.secsTo(QDateTime::currentDateTime())), 120)
        << entries[0].time.toString(Qt::ISODate).toStdString();

    const store::SettleResult settled =
        store::settleShift(desk, kCashier, entries, shift_test::exactCount(entries));
    ASSERT_EQ(settled.outcome, store::SettleOutcome::Settled) << settled.error.toStdString();
    std::optional<store::Settlement> settlement;
    ASSERT_TRUE(store::readSettlement(desk, settled.number, &settlement, &error))
        << error.toStdString();
    ASSERT_TRUE(settlement.has_value());
    EXPECT_LE(std::abs(settlement->settledAt.secsTo(QDateTime::currentDateTime())), 120)
        << settlement->settledAt.toString(Qt::ISODate).toStdString();
}

}  // namespace
