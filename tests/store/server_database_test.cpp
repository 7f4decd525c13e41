#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "storage/storage_engine.h"
#include "store/receipt_saving.h"
#include "store/save_pause.h"
#include "store/schema.h"
#include "store/settlement.h"
#include "store_fixture.h"
#include "support/qt_printers.h"

namespace {

using store::Database;
using store_test::receipt;

// What only a database server does: refuse at the door, or go away in the middle of work.
class ServerDatabase : public DatabaseTest {
protected:
    EngineKind engineKind() const override { return EngineKind::Postgres; }

    // Ends every other connection to the test's database, as a restarted server or a broken
    // network would.
    void dropConnections() {
        runSql(
            QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                           "datname = current_database() AND pid <> pg_backend_pid()"));
    }

    QStringList storedNumbers() {
        QStringList numbers;
        for (const QStringList& row : runSql(QStringLiteral(R"(SELECT "住院号" FROM "MZY")"))) {
            numbers.append(row.value(0));
        }
        return numbers;
    }
};

TEST_F(ServerDatabase, RefusalsNameTheServerAndTheReason) {
    const QString missing = QString(databaseLocation())
                                .replace(QRegularExpression(QStringLiteral("///[^?]+")),
                                         QStringLiteral("///no_such_database"));
    Database absent(missing);
    QString error;
    ASSERT_FALSE(absent.prepare(&error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("数据库服务器“postgres@"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("/no_such_database”"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("没有这个数据库"))) << error.toStdString();

    runSql(QStringLiteral(R"(ALTER TABLE "MZY" DROP COLUMN "欠费")"));
    Database lacking(databaseLocation());
    ASSERT_FALSE(lacking.prepare(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("表 MZY 缺少字段“欠费”"))) << error.toStdString();
}

TEST_F(ServerDatabase, ALostConnectionFailsTheSaveAndTheNextOneConnectsAgain) {
    ASSERT_EQ(store::saveNewReceipt(database(), receipt(QStringLiteral("1"), QStringLiteral("甲")))
                  .outcome,
              store::SaveOutcome::Saved);
    dropConnections();

    const store::SaveResult lost =
        store::saveNewReceipt(database(), receipt(QStringLiteral("2"), QStringLiteral("乙")));
    EXPECT_EQ(lost.outcome, store::SaveOutcome::Failed);
    EXPECT_TRUE(lost.error.contains(QStringLiteral("数据库服务器"))) << lost.error.toStdString();

    EXPECT_EQ(store::saveNewReceipt(database(), receipt(QStringLiteral("2"), QStringLiteral("乙")))
                  .outcome,
              store::SaveOutcome::Saved);
    EXPECT_EQ(storedNumbers(), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
}

TEST_F(ServerDatabase, ACommitWhoseConnectionWasLostIsNeitherTakenForDoneNorRetried) {
    const storage::TransactionResult lost =
        database().engine().transact(QStringLiteral("MZY:3"), [&](storage::RecordWriter& writer) {
            const bool inserted = writer
                                      .insert(store::receiptSchema(),
                                              receipt(QStringLiteral("3"), QStringLiteral("丙")))
                                      .has_value();
            dropConnections();
            return inserted;
        });
    EXPECT_EQ(lost.outcome, storage::TransactionOutcome::Unknown) << lost.reason.toStdString();
    EXPECT_TRUE(storedNumbers().isEmpty()) << "the server rolled it back";
    EXPECT_EQ(store::saveNewReceipt(database(), receipt(QStringLiteral("3"), QStringLiteral("丙")))
                  .outcome,
              store::SaveOutcome::Saved);
}

// Another desk's transaction holds the lock of number 9 until the test lets it go.
TEST_F(ServerDatabase, ADeskWaitingForANumberAnotherHoldsGivesUpAfterTheWaitAndStoresOnceItIsFree) {
    std::promise<void> holding;
    std::promise<void> released;
    std::thread otherDesk([&] {
        Database other(databaseLocation());
        other.engine().transact(QStringLiteral("MZY:9"), [&](storage::RecordWriter&) {
            holding.set_value();
            released.get_future().wait();
            return false;
        });
    });
    holding.get_future().wait();
    Database waiting(databaseLocation(), 300);
    const store::SaveResult refused =
        store::saveNewReceipt(waiting, receipt(QStringLiteral("9"), QStringLiteral("丁")));
    released.set_value();
    otherDesk.join();

    EXPECT_EQ(refused.outcome, store::SaveOutcome::Failed);
    EXPECT_EQ(refused.error, waiting.writeFailureMessage(QStringLiteral(
                                 "另一台收费电脑正在使用这些数据，等候超时，请稍后再试")));
    EXPECT_TRUE(storedNumbers().isEmpty());
    EXPECT_EQ(
        store::saveNewReceipt(waiting, receipt(QStringLiteral("9"), QStringLiteral("丁"))).outcome,
        store::SaveOutcome::Saved);
}

// The same cashier at two desks: the first loses its connection while committing the shift it
// showed, and meanwhile the other desk settles those rows with one more. The first must not take
// that settlement, which holds a row it never showed, for its own.
TEST_F(ServerDatabase, ASettlementWhoseAnswerIsLostIsOnlyTakenWhenItHoldsExactlyTheRowsShown) {
    for (const QString& number : {QStringLiteral("1"), QStringLiteral("2")}) {
        ASSERT_EQ(store::saveNewReceipt(database(), receipt(number, QStringLiteral("甲"))).outcome,
                  store::SaveOutcome::Saved);
    }
    QList<store::JournalEntry> shown;
    QString error;
    ASSERT_TRUE(store::readOpenEntries(database(), QStringLiteral("491MX"), &shown, &error));
    bool lost = false;
    store::setSavePauseForTesting([&](store::SavePoint point) {
        if (point != store::SavePoint::SettlementWritten || lost) {
            return;
        }
        lost = true;
        dropConnections();
        Database otherDesk(databaseLocation());
        ASSERT_EQ(
            store::saveNewReceipt(otherDesk, receipt(QStringLiteral("3"), QStringLiteral("乙")))
                .outcome,
            store::SaveOutcome::Saved);
        QList<store::JournalEntry> all;
        ASSERT_TRUE(store::readOpenEntries(otherDesk, QStringLiteral("491MX"), &all, &error));
        ASSERT_EQ(store::settleShift(otherDesk, QStringLiteral("491MX"), all).outcome,
                  store::SettleOutcome::Settled);
    });
    const store::SettleResult result =
        store::settleShift(database(), QStringLiteral("491MX"), shown);
    store::setSavePauseForTesting(nullptr);

    ASSERT_TRUE(lost);
    EXPECT_EQ(result.outcome, store::SettleOutcome::Uncertain) << result.number;
}

}  // namespace
