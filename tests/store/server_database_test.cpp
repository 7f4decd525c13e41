#include <gtest/gtest.h>

#include <QUuid>
#include <future>
#include <thread>

#include "shift_fixture.h"
#include "storage/postgres/connection.h"
#include "storage/storage_engine.h"
#include "store/receipt_saving.h"
#include "store/save_pause.h"
#include "store/schema.h"
#include "store/settlement.h"
#include "store/shift_tables.h"
#include "store_fixture.h"
#include "support/postgres_test_server.h"
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
    EXPECT_EQ(refused.error,
              waiting.writeFailureMessage(QStringLiteral(
                  "服务器忙：要用的数据正被另一台收费电脑或数据库的维护工作占用，等候超时，"
                  "请稍后再试")));
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
        ASSERT_EQ(
            store::settleShift(otherDesk, QStringLiteral("491MX"), all, shift_test::exactCount(all))
                .outcome,
            store::SettleOutcome::Settled);
    });
    const store::SettleResult result = store::settleShift(database(), QStringLiteral("491MX"),
                                                          shown, shift_test::exactCount(shown));
    store::setSavePauseForTesting(nullptr);

    ASSERT_TRUE(lost);
    EXPECT_EQ(result.outcome, store::SettleOutcome::Uncertain) << result.number;
}

// An administrator's lock on the receipts holds a read up no longer than another desk's lock holds
// a save, directly or through a transaction pooler; the desk then says that the server is busy,
// not that it is gone, and nothing of the read stays waiting on the server.
TEST_F(ServerDatabase, AReadBehindAnAdministratorsLockSaysTheServerIsBusy) {
    ASSERT_TRUE(postgres_test::poolerIsGiven()) << postgres_test::kNoPoolerMessage;
    storage::PostgresConnection administrator;
    ASSERT_TRUE(administrator.open(databaseLocation()));
    ASSERT_TRUE(administrator.run(QStringLiteral("BEGIN")).succeeded());
    ASSERT_TRUE(administrator.run(QStringLiteral(R"(LOCK TABLE "MZY" IN ACCESS EXCLUSIVE MODE)"))
                    .succeeded());
    for (const QString& location :
         {databaseLocation(), postgres_test::throughPooler(databaseLocation())}) {
        SCOPED_TRACE(location.toStdString());
        Database desk(location, 300);
        store::Table receipts(desk);
        EXPECT_FALSE(receipts.open(store::kReceiptTable));
        EXPECT_TRUE(receipts.lastError().contains(QStringLiteral("服务器忙")))
            << receipts.lastError().toStdString();
        EXPECT_EQ(administrator
                      .run(QStringLiteral(
                          R"(SELECT count(*) FROM pg_locks WHERE relation = '"MZY"'::regclass )"
                          "AND NOT granted"))
                      .text(0, 0),
                  QStringLiteral("0"));
    }
    ASSERT_TRUE(administrator.run(QStringLiteral("ROLLBACK")).succeeded());
}

// A desk whose role may use the tables but not make them finds the journal missing after an
// upgrade: it does not start, and says what to grant. A desk that can only read starts without it.
TEST_F(ServerDatabase, AnUpgradeTheDesksRoleCannotMakeStopsTheStartWithWhatToGrant) {
    for (const QString& table : {store::journalSchema().name, store::settlementSchema().name}) {
        runSql(QStringLiteral(R"(DROP TABLE "%1")").arg(table));
    }
    const QString role = QStringLiteral("desk_") + QUuid::createUuid().toString(QUuid::Id128);
    runSql(QStringLiteral("CREATE ROLE %1 LOGIN").arg(role));
    runSql(QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA public "
                          "TO %1")
               .arg(role));
    const QString asDesk =
        QString(databaseLocation())
            .replace(QStringLiteral("user=postgres"), QStringLiteral("user=") + role);
    QString error;
    {
        Database desk(asDesk);
        EXPECT_FALSE(desk.prepare(&error));
    }
    EXPECT_TRUE(error.contains(QStringLiteral("permission denied for schema public")))
        << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("GRANT CREATE ON SCHEMA public TO %1;").arg(role)))
        << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("表 MZY 的所有者“postgres”"))) << error.toStdString();

    runSql(QStringLiteral("ALTER ROLE %1 SET default_transaction_read_only = on").arg(role));
    {
        Database reader(asDesk);
        EXPECT_TRUE(reader.prepare(&error)) << error.toStdString();
    }
    runSql(QStringLiteral("DROP OWNED BY %1").arg(role));
    runSql(QStringLiteral("DROP ROLE %1").arg(role));
}

// The planner learns of a table's new index, and of a bulk load, at once rather than at the
// server's next vacuum, which leaves a look-up reading every receipt meanwhile.
TEST_F(ServerDatabase, AnUpgradeThatAddsAnIndexAndABulkLoadRenewTheStatistics) {
    const auto manualAnalyses = [&] {
        return runSql(QStringLiteral("SELECT analyze_count FROM pg_stat_user_tables WHERE "
                                     "relname = 'MZY'"))
            .value(0)
            .value(0)
            .toInt();
    };
    ASSERT_EQ(manualAnalyses(), 0);
    runSql(QStringLiteral(R"(DROP INDEX "MZY_住院号")"));
    {
        Database upgraded(databaseLocation());
        QString error;
        ASSERT_TRUE(upgraded.prepare(&error)) << error.toStdString();
    }
    EXPECT_EQ(manualAnalyses(), 1);

    const storage::TransactionResult loaded =
        database().engine().transact({}, [](storage::RecordWriter& writer) {
            for (int i = 0; i < 10'000; ++i) {
                if (!writer.insert(store::receiptSchema(),
                                   receipt(QString::number(i), QStringLiteral("甲")))) {
                    return false;
                }
            }
            return true;
        });
    ASSERT_EQ(loaded.outcome, storage::TransactionOutcome::Committed)
        << loaded.reason.toStdString();
    EXPECT_EQ(manualAnalyses(), 2);
}

}  // namespace
