#include "storage/postgres/connection.h"

#include <gtest/gtest.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>

#include "support/postgres_test_server.h"
#include "support/scoped_environment.h"
#include "support/silent_server.h"
#include "support/tcp_relay.h"

namespace {

using storage::PostgresConnection;
using storage::PostgresFailure;
using storage::PostgresParameters;
using storage::PostgresResult;

class PostgresConnectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(postgres_test::serverIsGiven()) << postgres_test::kNoServerMessage;
        ASSERT_TRUE(m_connection.open(postgres_test::serverUri()))
            << m_connection.failureReason().toStdString();
    }

    PostgresConnection m_connection;
};

TEST_F(PostgresConnectionTest, ConnectsAsTheProgramInUtf8AndDescribesTheServer) {
    const PostgresResult settings =
        m_connection.run(QStringLiteral("SELECT current_setting('application_name'), "
                                        "current_setting('client_encoding')"));
    ASSERT_TRUE(settings.succeeded()) << m_connection.failureReason().toStdString();
    EXPECT_EQ(settings.text(0, 0), QStringLiteral("491MX"));
    EXPECT_EQ(settings.text(0, 1), QStringLiteral("UTF8"));

    const QUrlQuery query(QUrl(postgres_test::serverUri()));
    EXPECT_EQ(m_connection.serverDescription(),
              QStringLiteral("postgres@%1:%2/postgres")
                  .arg(query.queryItemValue(QStringLiteral("host")),
                       query.queryItemValue(QStringLiteral("port"))));
}

TEST_F(PostgresConnectionTest, ParametersComeBackExactlyAsSent) {
    const PostgresParameters sent{
        QStringLiteral("O'Brien \"引号\" \\ 反斜杠"),
        QStringLiteral("'); DROP TABLE \"MZY\"; --"),
        QStringLiteral("$1 张三 %s 😀"),
        QStringLiteral(""),
        std::nullopt,
    };
    const PostgresResult echoed = m_connection.run(
        QStringLiteral("SELECT $1::text, $2::text, $3::text, $4::text, $5::text"), sent);
    ASSERT_TRUE(echoed.succeeded()) << m_connection.failureReason().toStdString();
    for (int column = 0; column < 4; ++column) {
        EXPECT_FALSE(echoed.isNull(0, column));
        EXPECT_EQ(echoed.text(0, column), *sent[column]);
    }
    EXPECT_FALSE(echoed.text(0, 3).isNull());
    EXPECT_TRUE(echoed.isNull(0, 4));
    EXPECT_TRUE(echoed.text(0, 4).isNull());

    ASSERT_TRUE(
        m_connection.run(QStringLiteral("CREATE TEMP TABLE t (n int, name text)")).succeeded());
    EXPECT_EQ(m_connection
                  .run(QStringLiteral("INSERT INTO t SELECT generate_series(1, 3), $1"),
                       {QStringLiteral("甲")})
                  .rowsAffected(),
              3);
    EXPECT_EQ(m_connection
                  .run(QStringLiteral("UPDATE t SET name = $1 WHERE n >= $2"),
                       {QStringLiteral("乙"), QStringLiteral("2")})
                  .rowsAffected(),
              2);

    // A NUL would cut the text short on its way to the server: refused, nothing sent.
    EXPECT_FALSE(
        m_connection.run(QStringLiteral("UPDATE t SET name = $1"), {QStringLiteral("丙\0丁")})
            .succeeded());
    EXPECT_EQ(m_connection.lastFailure().kind, PostgresFailure::Kind::TextWithNul);
    EXPECT_EQ(
        m_connection.run(QStringLiteral("SELECT count(*) FROM t WHERE name LIKE '丙%'")).text(0, 0),
        QStringLiteral("0"));
}

TEST_F(PostgresConnectionTest, WalksRowsInBatchesAndLeavesNoTransactionBehind) {
    const QString numbers =
        QStringLiteral("SELECT n FROM generate_series(1, $1::int) AS n ORDER BY n");
    QList<int> batchSizes;
    QList<int> seen;
    const auto collect = [&](const PostgresResult& batch) {
        batchSizes.append(batch.rowCount());
        for (int row = 0; row < batch.rowCount(); ++row) {
            seen.append(batch.text(row, 0).toInt());
        }
        return true;
    };
    ASSERT_TRUE(m_connection.forEachBatch(numbers, {QStringLiteral("25")}, 10, collect))
        << m_connection.failureReason().toStdString();
    EXPECT_EQ(batchSizes, (QList<int>{10, 10, 5}));
    ASSERT_EQ(seen.size(), 25);
    EXPECT_EQ(seen.front(), 1);
    EXPECT_EQ(seen.back(), 25);
    EXPECT_FALSE(m_connection.isInTransaction());

    batchSizes.clear();
    EXPECT_TRUE(m_connection.forEachBatch(numbers, {QStringLiteral("25")}, 10,
                                          [&](const PostgresResult& batch) {
                                              batchSizes.append(batch.rowCount());
                                              return false;
                                          }));
    EXPECT_EQ(batchSizes, (QList<int>{10}));

    // Inside the caller's transaction the walk leaves it open.
    ASSERT_TRUE(m_connection.run(QStringLiteral("BEGIN")).succeeded());
    EXPECT_TRUE(m_connection.forEachBatch(numbers, {QStringLiteral("3")}, 10, collect));
    EXPECT_TRUE(m_connection.isInTransaction());
    ASSERT_TRUE(m_connection.run(QStringLiteral("ROLLBACK")).succeeded());

    // The failure shows only when the rows are fetched; the walk's own transaction is rolled back.
    EXPECT_FALSE(m_connection.forEachBatch(QStringLiteral("SELECT 1 / 0"), {}, 10, collect));
    EXPECT_EQ(m_connection.lastFailure().sqlState, QStringLiteral("22012"));
    EXPECT_FALSE(m_connection.isInTransaction());
    EXPECT_TRUE(m_connection.run(QStringLiteral("SELECT 1")).succeeded());
}

TEST_F(PostgresConnectionTest, FailedStatementsGiveTheirCodeAndAReasonForTheCashier) {
    struct Case {
        QString sql;
        QString sqlState;
        QString reason;
    };
    const Case cases[] = {
        {QStringLiteral("SELECT 12345678901::numeric(12,2)"), QStringLiteral("22003"),
         QStringLiteral("数值超出了数据库能保存的范围")},
        // Without words of ours the server's own text is kept.
        {QStringLiteral("SELECT * FROM \"不存在的表\""), QStringLiteral("42P01"),
         QStringLiteral("服务器出错（42P01：")},
    };
    for (const Case& failing : cases) {
        SCOPED_TRACE(failing.sql.toStdString());
        EXPECT_FALSE(m_connection.run(failing.sql).succeeded());
        EXPECT_EQ(m_connection.lastFailure().sqlState, failing.sqlState);
        EXPECT_TRUE(m_connection.failureReason().startsWith(failing.reason))
            << m_connection.failureReason().toStdString();
        EXPECT_FALSE(m_connection.isConnectionLost());
    }
    EXPECT_TRUE(m_connection.failureReason().contains(QStringLiteral("不存在的表")));
}

TEST_F(PostgresConnectionTest, AWaitForAnotherDesksLockEndsWithItsOwnWords) {
    const PostgresParameters lockKey{QStringLiteral("491000001")};
    ASSERT_TRUE(m_connection.run(QStringLiteral("SELECT pg_advisory_lock($1::bigint)"), lockKey)
                    .succeeded());
    PostgresConnection otherDesk;
    ASSERT_TRUE(otherDesk.open(postgres_test::serverUri()));
    ASSERT_TRUE(otherDesk.run(QStringLiteral("SET lock_timeout = '200ms'")).succeeded());

    EXPECT_FALSE(
        otherDesk.run(QStringLiteral("SELECT pg_advisory_lock($1::bigint)"), lockKey).succeeded());
    EXPECT_EQ(otherDesk.lastFailure().sqlState, QStringLiteral("55P03"));
    EXPECT_EQ(otherDesk.failureReason(),
              QStringLiteral("服务器忙：要用的数据正被另一台收费电脑或数据库的维护工作占用，"
                             "等候超时，请稍后再试"));
}

TEST_F(PostgresConnectionTest, AConnectionEndedByTheServerIsLostAndConnectsAgain) {
    const QString backend = m_connection.run(QStringLiteral("SELECT pg_backend_pid()")).text(0, 0);
    PostgresConnection administrator;
    ASSERT_TRUE(administrator.open(postgres_test::serverUri()));
    ASSERT_EQ(
        administrator.run(QStringLiteral("SELECT pg_terminate_backend($1::int, 5000)"), {backend})
            .text(0, 0),
        QStringLiteral("t"));

    EXPECT_FALSE(m_connection.run(QStringLiteral("SELECT 1")).succeeded());
    EXPECT_TRUE(m_connection.isConnectionLost());
    EXPECT_EQ(m_connection.lastFailure().kind, PostgresFailure::Kind::ConnectionLost);
    EXPECT_EQ(m_connection.failureReason(), QStringLiteral("与服务器的连接断开了"));

    ASSERT_TRUE(m_connection.reconnect()) << m_connection.failureReason().toStdString();
    EXPECT_FALSE(m_connection.isConnectionLost());
    EXPECT_EQ(m_connection.run(QStringLiteral("SELECT 1")).text(0, 0), QStringLiteral("1"));
}

TEST_F(PostgresConnectionTest, RefusedConnectionsNameTheServerAndTheReason) {
    // The test server asks this role, and only it, for a password.
    ASSERT_TRUE(m_connection
                    .run(QStringLiteral("DO $$ BEGIN CREATE ROLE billing_password_test LOGIN "
                                        "PASSWORD 'right'; EXCEPTION WHEN duplicate_object THEN "
                                        "NULL; END $$"))
                    .succeeded())
        << m_connection.failureReason().toStdString();
    const QTemporaryDir home;
    qputenv("PGPASSFILE", home.filePath(QStringLiteral("no-pgpass")).toUtf8());
    const QUrlQuery served(QUrl(postgres_test::serverUri()));
    const QString socket = served.queryItemValue(QStringLiteral("host"));
    const QString port = served.queryItemValue(QStringLiteral("port"));
    const QString otherPort = QString::number(port.toInt() + 1);
    const QString uri = QStringLiteral("postgresql:///%1?host=%2&port=%3&user=%4");

    struct Case {
        QString uri;
        QByteArray password;
        QString message;
    };
    const Case cases[] = {
        {uri.arg(QStringLiteral("没有这个库"), socket, port, QStringLiteral("postgres")),
         {},
         QStringLiteral("数据库服务器“postgres@%1:%2/没有这个库”无法使用：服务器上没有这个数据库。")
             .arg(socket, port)},
        {uri.arg(QStringLiteral("postgres"), socket, otherPort, QStringLiteral("postgres")),
         {},
         QStringLiteral("数据库服务器“postgres@%1:%2/postgres”无法使用：连不上主机 %1 的端口 %2（")
             .arg(socket, otherPort)},
        {uri.arg(QStringLiteral("postgres"), socket, port, QStringLiteral("billing_password_test")),
         {},
         QStringLiteral("服务器要求密码，但 ~/.pgpass、PGPASSWORD 和服务文件里都没有。")},
        {uri.arg(QStringLiteral("postgres"), socket, port, QStringLiteral("billing_password_test")),
         "wrong", QStringLiteral("密码不对，服务器拒绝登录。")},
    };
    for (const Case& refused : cases) {
        SCOPED_TRACE(refused.uri.toStdString());
        if (refused.password.isEmpty()) {
            qunsetenv("PGPASSWORD");
        } else {
            qputenv("PGPASSWORD", refused.password);
        }
        PostgresConnection connection;
        EXPECT_FALSE(connection.open(refused.uri));
        EXPECT_FALSE(connection.isOpen());
        const QString message = storage::databaseServerMessage(connection.serverDescription(),
                                                               connection.failureReason());
        EXPECT_TRUE(message.contains(refused.message)) << message.toStdString();
    }
    qunsetenv("PGPASSWORD");
    qunsetenv("PGPASSFILE");
}

// A service file of one service, ward, in a folder of its own; PGSERVICEFILE names it while the
// object lives.
class WardService {
public:
    explicit WardService(const QString& lines) {
        QFile file(m_folder.filePath(QStringLiteral("pg_service.conf")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write((QStringLiteral("[ward]\n") + lines).toUtf8());
        file.close();
        m_environment.set("PGSERVICEFILE", file.fileName().toUtf8());
    }

private:
    QTemporaryDir m_folder;
    support::ScopedEnvironment m_environment;
};

// The desk waits as long as the address, the service file or the environment says, else its
// own 5 seconds, and then says that the server did not answer.
TEST(PostgresConnection, GivesUpOnAServerThatDoesNotAnswerWhenItsPlacesSay) {
    struct Case {
        QString address;  // %1: the silent server's folder
        QString service;
        QByteArray environmentTimeout;
        int seconds;
    };
    const QString hung = QStringLiteral("host=%1 port=5432 dbname=billing");
    const Case cases[] = {
        {hung + QStringLiteral(" connect_timeout=2"), {}, {}, 2},
        {hung, {}, "3", 3},
        {QStringLiteral("service=ward"), QStringLiteral("host=%1\nport=5432\nconnect_timeout=2\n"),
         "30", 2},
    };
    for (const Case& silent : cases) {
        SCOPED_TRACE(silent.address.toStdString());
        support::SilentServer server;
        ASSERT_TRUE(server.isListening());
        support::ScopedEnvironment environment;
        if (!silent.environmentTimeout.isEmpty()) {
            environment.set("PGCONNECT_TIMEOUT", silent.environmentTimeout);
        }
        const WardService service(silent.service.arg(server.folder()));
        PostgresConnection connection;
        EXPECT_FALSE(connection.open(silent.address.arg(server.folder())));
        EXPECT_EQ(connection.lastFailure().kind, PostgresFailure::Kind::Unreachable);
        EXPECT_EQ(connection.failureReason(),
                  QStringLiteral("连不上主机 %1 的端口 5432（%2 秒内没有应答）")
                      .arg(server.folder())
                      .arg(silent.seconds));
    }
}

// Each host of a list gets the whole connect_timeout, and target_session_attrs picks among those
// that answer: the test server is a primary.
TEST(PostgresConnection, TriesTheHostsOfAListOneByOneAsTheSessionKindAsks) {
    ASSERT_TRUE(postgres_test::serverIsGiven()) << postgres_test::kNoServerMessage;
    const QUrlQuery served(QUrl(postgres_test::serverUri()));
    const QString socket = served.queryItemValue(QStringLiteral("host"));
    const QString port = served.queryItemValue(QStringLiteral("port"));
    struct Case {
        bool silentFirst;
        QString target;
        bool connects;
    };
    const Case cases[] = {
        {true, QStringLiteral("any"), true},
        {true, QStringLiteral("read-write"), true},
        // No standby answers, so the second round takes any server.
        {false, QStringLiteral("prefer-standby"), true},
        {true, QStringLiteral("standby"), false},
    };
    for (const Case& hosts : cases) {
        SCOPED_TRACE(hosts.target.toStdString());
        support::SilentServer silent;
        ASSERT_TRUE(silent.isListening());
        QStringList folders{silent.folder(), socket};
        QStringList ports{QStringLiteral("5432"), port};
        if (!hosts.silentFirst) {
            folders.swapItemsAt(0, 1);
            ports.swapItemsAt(0, 1);
        }
        PostgresConnection connection;
        const bool connected = connection.open(
            QStringLiteral("host=%1 port=%2 dbname=postgres user=postgres connect_timeout=2 "
                           "target_session_attrs=%3")
                .arg(folders.join(u','), ports.join(u','), hosts.target));
        ASSERT_EQ(connected, hosts.connects) << connection.failureReason().toStdString();
        if (connected) {
            EXPECT_EQ(connection.serverDescription(),
                      QStringLiteral("postgres@%1:%2/postgres").arg(socket, port));
            EXPECT_EQ(connection.run(QStringLiteral("SELECT 1")).text(0, 0), QStringLiteral("1"));
            continue;
        }
        EXPECT_TRUE(connection.failureReason().startsWith(
            QStringLiteral("连不上主机 %1 的端口 5432（2 秒内没有应答）；连不上主机 %2 的端口 %3（")
                .arg(silent.folder(), socket, port)))
            << connection.failureReason().toStdString();
    }
}

// The options of this process's own TCP socket to the relay.
struct SocketWatch {
    int keepalive = -1;
    int idleSeconds = -1;
    int intervalSeconds = -1;
    int probes = -1;
    int userTimeoutMs = -1;
};

SocketWatch watchOfSocketTo(quint16 port) {
    SocketWatch watch;
    for (const QString& entry : QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files)) {
        const int fd = entry.toInt();
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        if (::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) != 0 ||
            peer.sin_family != AF_INET || ntohs(peer.sin_port) != port) {
            continue;
        }
        socklen_t size = sizeof(int);
        ::getsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &watch.keepalive, &size);
        ::getsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &watch.idleSeconds, &size);
        ::getsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &watch.intervalSeconds, &size);
        ::getsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &watch.probes, &size);
        ::getsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &watch.userTimeoutMs, &size);
    }
    return watch;
}

// A network that goes silent while the desk idles, or while a statement is on its way, is
// noticed by the operating system within seconds, unless the address or the service file asks
// for other limits.
TEST(PostgresConnectionOverTcp, WatchesForASilentNetworkUnlessTheAddressSaysOtherwise) {
    ASSERT_TRUE(postgres_test::serverIsGiven()) << postgres_test::kNoServerMessage;
    support::TcpRelay relay;
    const QString uri = relay.uriFor(postgres_test::serverUri());
    struct Case {
        QString address;
        QString service;
        SocketWatch expected;
    };
    const Case cases[] = {
        {uri, {}, {1, 5, 2, 3, 10000}},
        {uri + QStringLiteral("&keepalives_idle=60&tcp_user_timeout=0"), {}, {1, 60, 2, 3, 0}},
        {QStringLiteral("service=ward"),
         QStringLiteral("host=127.0.0.1\nport=%1\ndbname=postgres\nuser=postgres\n"
                        "keepalives_idle=60\ntcp_user_timeout=120000\n")
             .arg(relay.port()),
         {1, 60, 2, 3, 120000}},
    };
    for (const Case& watched : cases) {
        SCOPED_TRACE(watched.address.toStdString());
        const WardService service(watched.service);
        PostgresConnection desk;
        ASSERT_TRUE(desk.open(watched.address)) << desk.failureReason().toStdString();
        const SocketWatch watch = watchOfSocketTo(relay.port());
        EXPECT_EQ(watch.keepalive, watched.expected.keepalive);
        EXPECT_EQ(watch.idleSeconds, watched.expected.idleSeconds);
        EXPECT_EQ(watch.intervalSeconds, watched.expected.intervalSeconds);
        EXPECT_EQ(watch.probes, watched.expected.probes);
        EXPECT_EQ(watch.userTimeoutMs, watched.expected.userTimeoutMs);
    }
}

}  // namespace
