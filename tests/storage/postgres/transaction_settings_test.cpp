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
        ASSERT_TRUE(m_desk.open(postgres_test::poolerUri()))
            << m_desk.failureReason().toStdString();
        m_desk.setTransactionSettings(kLimits);
    }

    PostgresConnection m_desk;
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
        QElapsedTimer timer;
        timer.start();
        const bool succeeded =
            limited.inTransaction
                ? m_desk.begin(limited.statement).succeeded()
                : m_desk.run(limited.statement.sql, limited.statement.parameters).succeeded();
        EXPECT_FALSE(succeeded);
        EXPECT_LT(timer.elapsed(), 3000);
        EXPECT_EQ(m_desk.lastFailure().sqlState, limited.sqlState);
        EXPECT_TRUE(m_desk.failureReason().startsWith(limited.reason))
            << m_desk.failureReason().toStdString();
        EXPECT_FALSE(m_desk.isInTransaction());
        EXPECT_FALSE(m_desk.isConnectionLost());
    }
}

// The server takes the transaction, and its locks, from a desk that stopped in the middle of it;
// the pooler drops the desk, which connects again.
TEST_F(PooledDesk, ATransactionLeftIdleIsEndedByTheServer) {
    ASSERT_TRUE(m_desk.begin().succeeded()) << m_desk.failureReason().toStdString();
    QThread::msleep(2000);
    EXPECT_FALSE(m_desk.run(QStringLiteral("SELECT 1")).succeeded());
    EXPECT_EQ(m_desk.lastFailure().sqlState, QStringLiteral("25P03"));
    EXPECT_TRUE(m_desk.isConnectionLost());
    ASSERT_TRUE(m_desk.reconnect()) << m_desk.failureReason().toStdString();
    EXPECT_EQ(m_desk.run(QStringLiteral("SELECT 1")).text(0, 0), QStringLiteral("1"));
}

}  // namespace
