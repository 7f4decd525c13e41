#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QThread>

#include "storage/postgres/connection.h"
#include "support/postgres_test_server.h"

namespace {

using storage::PostgresConnection;
using storage::PostgresStatement;

// Limits short enough for a test.
const QList<storage::PostgresSetting> kLimits{
    {QStringLiteral("idle_in_transaction_session_timeout"), QStringLiteral("1000ms")},
    {QStringLiteral("statement_timeout"), QStringLiteral("1500ms")},
    {QStringLiteral("lock_timeout"), QStringLiteral("300ms")},
};

// A desk behind a PgBouncer in transaction pooling, which may hand each transaction another
// server session: only limits that travel with every transaction and every lone statement hold.
class PooledDesk : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(postgres_test::poolerIsGiven()) << postgres_test::kNoPoolerMessage;
    }

    static bool connect(PostgresConnection& desk) {
        if (!desk.open(postgres_test::poolerUri())) {
            return false;
        }
        desk.setTransactionSettings(kLimits);
        return true;
    }
};

TEST_F(PooledDesk, StatementsAndLockWaitsEndAtTheirLimitsInAndOutOfTransactions) {
    // Another program holds the lock, straight on the server.
    PostgresConnection holder;
    ASSERT_TRUE(holder.open(postgres_test::serverUri()));
    const QString lockKey = QString::number(QRandomGenerator::global()->generate64() >> 1);
    ASSERT_TRUE(
        holder.run(QStringLiteral("SELECT pg_advisory_lock($1::bigint)"), {lockKey}).succeeded());
    const PostgresStatement lockWait{QStringLiteral("SELECT pg_advisory_xact_lock($1::bigint)"),
                                     {lockKey}};
    const PostgresStatement longStatement{QStringLiteral("SELECT pg_sleep(4)")};
    struct Case {
        PostgresStatement statement;
        bool inTransaction;
        QString sqlState;
        QString reason;
    };
    const Case cases[] = {
        {lockWait, true, QStringLiteral("55P03"), QStringLiteral("服务器忙：要用的数据正被")},
        {lockWait, false, QStringLiteral("55P03"), QStringLiteral("服务器忙：要用的数据正被")},
        {longStatement, true, QStringLiteral("57014"), QStringLiteral("服务器忙：这项操作没能")},
        {longStatement, false, QStringLiteral("57014"), QStringLiteral("服务器忙：这项操作没能")},
    };
    for (const Case& limited : cases) {
        SCOPED_TRACE(limited.statement.sql.toStdString() +
                     (limited.inTransaction ? " in a transaction" : " alone"));
        PostgresConnection desk;
        ASSERT_TRUE(connect(desk)) << desk.failureReason().toStdString();
        QElapsedTimer timer;
        timer.start();
        const bool succeeded =
            limited.inTransaction
                ? desk.begin(limited.statement).succeeded()
                : desk.run(limited.statement.sql, limited.statement.parameters).succeeded();
        EXPECT_FALSE(succeeded);
        EXPECT_LT(timer.elapsed(), 3000);
        EXPECT_EQ(desk.lastFailure().sqlState, limited.sqlState);
        EXPECT_TRUE(desk.failureReason().startsWith(limited.reason))
            << desk.failureReason().toStdString();
        EXPECT_FALSE(desk.isInTransaction());
        EXPECT_FALSE(desk.isConnectionLost());
    }
}

// The server takes the transaction, and its locks, from a desk that stopped in the middle of it;
// the pooler drops the desk, which connects again.
TEST_F(PooledDesk, ATransactionLeftIdleIsEndedByTheServer) {
    PostgresConnection desk;
    ASSERT_TRUE(connect(desk)) << desk.failureReason().toStdString();
    ASSERT_TRUE(desk.begin().succeeded()) << desk.failureReason().toStdString();
    QThread::msleep(2000);
    EXPECT_FALSE(desk.run(QStringLiteral("SELECT 1")).succeeded());
    EXPECT_EQ(desk.lastFailure().sqlState, QStringLiteral("25P03"));
    EXPECT_TRUE(desk.isConnectionLost());
    ASSERT_TRUE(desk.reconnect()) << desk.failureReason().toStdString();
    EXPECT_EQ(desk.run(QStringLiteral("SELECT 1")).text(0, 0), QStringLiteral("1"));
}

}  // namespace
