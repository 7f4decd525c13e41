#include <gtest/gtest.h>

#include <latch>
#include <thread>

#include "store/receipt_saving.h"
#include "store/schema.h"
#include "store_fixture.h"
#include "support/qt_printers.h"

namespace {

using store::Database;
using store::SaveOutcome;
using store::SaveResult;
using store_test::receipt;
using store_test::StoreTest;

// Two desks: each its own connection to the same database, each on its own thread, released at
// the same moment.
template <typename Work>
std::pair<SaveResult, SaveResult> atOnce(const QString& location, Work work) {
    std::latch start(2);
    SaveResult first;
    SaveResult second;
    const auto desk = [&](SaveResult* result, int number) {
        Database database(location);
        start.arrive_and_wait();
        *result = work(database, number);
    };
    std::thread other(desk, &second, 2);
    desk(&first, 1);
    other.join();
    return {first, second};
}

int countOf(const std::pair<SaveResult, SaveResult>& results, SaveOutcome outcome) {
    return (results.first.outcome == outcome) + (results.second.outcome == outcome);
}

class DeskRace : public StoreTest {
protected:
    QStringList storedNames() { return walkTexts(store::kReceiptTable, QStringLiteral("姓名")); }
};

INSTANTIATE_TEST_SUITE_P(Engines, DeskRace,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

TEST_P(DeskRace, OfTwoSavesOfOneNumberExactlyOneIsStored) {
    for (int round = 0; round < 20; ++round) {
        const QString number = QString::number(1000 + round);
        const auto results = atOnce(databaseLocation(), [&](Database& database, int desk) {
            return store::saveNewReceipt(database,
                                         receipt(number, QStringLiteral("病人%1").arg(desk)));
        });
        ASSERT_EQ(countOf(results, SaveOutcome::Saved), 1) << results.first.error.toStdString();
        ASSERT_EQ(countOf(results, SaveOutcome::AlreadyStored), 1);
    }
    EXPECT_EQ(storedNames().size(), 20);
}

TEST_P(DeskRace, OfTwoCorrectionsOfOneReceiptTheFirstIsKeptAndTheSecondRefused) {
    appendReceipts({receipt(QStringLiteral("7"), QStringLiteral("原名"))});
    store::Table table(database());
    ASSERT_TRUE(table.open(store::kReceiptTable));
    ASSERT_TRUE(store::findByInpatientNumber(table, QStringLiteral("7")));
    store::LoadedReceipt loaded{table.recordId(), {}};
    for (int field = 0; field < store::kReceiptFieldCount; ++field) {
        loaded.values.append(table.readField(field));
    }
    table.close();

    const auto results = atOnce(databaseLocation(), [&](Database& database, int desk) {
        return store::saveCorrection(
            database, loaded, receipt(QStringLiteral("7"), QStringLiteral("改名%1").arg(desk)));
    });
    ASSERT_EQ(countOf(results, SaveOutcome::Saved), 1);
    ASSERT_EQ(countOf(results, SaveOutcome::ChangedElsewhere), 1);
    const int winner = results.first.outcome == SaveOutcome::Saved ? 1 : 2;
    EXPECT_EQ(storedNames(), QStringList{QStringLiteral("改名%1").arg(winner)});
    EXPECT_EQ(walkTexts(QStringLiteral("MZY_history"), QStringLiteral("姓名")),
              QStringList{QStringLiteral("原名")})
        << "one correction, one history row";
}

TEST_P(DeskRace, TwoDesksStartingOnAnEmptyDatabaseBothStart) {
    ScratchDatabase empty(GetParam());
    QString errors[2];
    {
        std::latch start(2);
        const auto desk = [&](QString* error) {
            Database database(empty.location());
            start.arrive_and_wait();
            database.prepare(error);
        };
        std::thread other(desk, &errors[1]);
        desk(&errors[0]);
        other.join();
    }
    EXPECT_EQ(errors[0], QString());
    EXPECT_EQ(errors[1], QString());
    EXPECT_EQ(empty.runSql(QStringLiteral(R"(SELECT count(*) FROM "USER")")),
              QList<QStringList>{{QStringLiteral("1")}});
    EXPECT_EQ(empty.runSql(QStringLiteral("SELECT count(*) FROM schema_version")),
              QList<QStringList>{{QStringLiteral("1")}});
}

}  // namespace
