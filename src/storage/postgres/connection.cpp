#include "storage/postgres/connection.h"

#include <libpq-fe.h>
#include <poll.h>

#include <QByteArrayList>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <vector>

namespace storage {

namespace {

using Clock = std::chrono::steady_clock;

// Unless the connection string says otherwise, a network that has gone silent is noticed within
// about 11 s while the connection idles, and within 10 s while a statement is on its way.
constexpr const char* kKeepaliveIdleSeconds = "5";
constexpr const char* kKeepaliveIntervalSeconds = "2";
constexpr const char* kKeepaliveCount = "3";
constexpr const char* kTcpUserTimeoutMilliseconds = "10000";

bool containsNul(const QString& text) {
    return text.contains(QChar(u'\0'));
}

// libpq's messages run over several indented lines; a message box wants one.
QString oneLine(const char* message) {
    return QString::fromUtf8(message).simplified();
}

// NOTICE and below only inform (such as "relation already exists, skipping"); a WARNING points
// at a mistake of ours and goes to the log.
void logWarnings(void*, const PGresult* notice) {
    const char* severity = PQresultErrorField(notice, PG_DIAG_SEVERITY_NONLOCALIZED);
    if (severity != nullptr && qstrcmp(severity, "WARNING") == 0) {
        qWarning("PostgreSQL: %s", PQresultErrorMessage(notice));
    }
}

// libpq's own reading of connect_timeout: none or not positive waits for ever, and less than
// two seconds is taken as two.
std::optional<int> connectTimeoutSeconds(PGconn* connection) {
    std::optional<int> seconds;
    PQconninfoOption* options = PQconninfo(connection);
    for (const PQconninfoOption* option = options; option && option->keyword; ++option) {
        if (qstrcmp(option->keyword, "connect_timeout") == 0 && option->val != nullptr) {
            const int value = QByteArray(option->val).trimmed().toInt();
            if (value > 0) {
                seconds = std::max(value, 2);
            }
        }
    }
    PQconninfoFree(options);
    return seconds;
}

// Waits until the socket is ready for one of events, or the deadline passes (false). Faults on
// the socket count as ready: the next call of libpq reports them.
bool waitForSocket(int socket, short events, std::optional<Clock::time_point> deadline) {
    pollfd watched{socket, events, 0};
    for (;;) {
        int timeoutMilliseconds = -1;
        if (deadline) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - Clock::now());
            if (left.count() <= 0) {
                return false;
            }
            timeoutMilliseconds = static_cast<int>(left.count());
        }
        const int ready = ::poll(&watched, 1, timeoutMilliseconds);
        if (ready != 0 && !(ready < 0 && errno == EINTR)) {
            return true;
        }
        if (ready == 0) {
            return false;
        }
    }
}

// With verbose errors, libpq writes a server's refusal as "SEVERITY:  CODE: text" in any
// language; this is the only place where the code of a failed connection shows.
const QRegularExpression& sqlStateInMessage() {
    static const QRegularExpression pattern(QStringLiteral(":  ([0-9A-Z]{5}): ([^\\n]*)"));
    return pattern;
}

}  // namespace

void PostgresResult::Free::operator()(pg_result* result) const {
    PQclear(result);
}

bool PostgresResult::succeeded() const {
    const ExecStatusType status = PQresultStatus(m_result.get());
    return m_result && (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK);
}

int PostgresResult::rowCount() const {
    return m_result ? PQntuples(m_result.get()) : 0;
}

int PostgresResult::columnCount() const {
    return m_result ? PQnfields(m_result.get()) : 0;
}

bool PostgresResult::isNull(int row, int column) const {
    return !m_result || PQgetisnull(m_result.get(), row, column) != 0;
}

QByteArrayView PostgresResult::utf8(int row, int column) const {
    if (isNull(row, column)) {
        return {};
    }
    return QByteArrayView(PQgetvalue(m_result.get(), row, column),
                          PQgetlength(m_result.get(), row, column));
}

QString PostgresResult::text(int row, int column) const {
    if (isNull(row, column)) {
        return QString();
    }
    const QByteArrayView value = utf8(row, column);
    return value.isEmpty() ? QStringLiteral("") : QString::fromUtf8(value);
}

qint64 PostgresResult::rowsAffected() const {
    return m_result ? QByteArray(PQcmdTuples(m_result.get())).toLongLong() : 0;
}

PostgresConnection::~PostgresConnection() {
    close();
}

bool PostgresConnection::open(const QString& connectionString) {
    close();
    m_connectionString = connectionString;
    m_failure = {};
    m_description.clear();
    if (containsNul(connectionString)) {
        m_failure.kind = PostgresFailure::Kind::TextWithNul;
        return false;
    }
    const QByteArray conninfo = connectionString.toUtf8();
    const QByteArray timeout = QByteArray::number(kConnectTimeoutSeconds);
    // What the string says overrides the entries before it and gives way to those after it. The
    // keep-alives find a silent network while the connection idles, and tcp_user_timeout while a
    // statement is on its way; neither applies to a Unix socket.
    const char* const keywords[] = {"connect_timeout",     "fallback_application_name",
                                    "keepalives",          "keepalives_idle",
                                    "keepalives_interval", "keepalives_count",
                                    "tcp_user_timeout",    "dbname",
                                    "client_encoding",     nullptr};
    const char* const values[] = {timeout.constData(),
                                  PRODUCT_NAME,
                                  "1",
                                  kKeepaliveIdleSeconds,
                                  kKeepaliveIntervalSeconds,
                                  kKeepaliveCount,
                                  kTcpUserTimeoutMilliseconds,
                                  conninfo.constData(),
                                  "UTF8",
                                  nullptr};
    m_connection = PQconnectStartParams(keywords, values, 1);
    if (m_connection == nullptr) {
        m_failure.kind = PostgresFailure::Kind::Unreachable;
        m_failure.detail = QStringLiteral("out of memory");
        return false;
    }
    PQsetNoticeReceiver(m_connection, logWarnings, nullptr);
    PQsetErrorVerbosity(m_connection, PQERRORS_VERBOSE);

    const std::optional<int> seconds = connectTimeoutSeconds(m_connection);
    std::optional<Clock::time_point> deadline;
    if (seconds) {
        deadline = Clock::now() + std::chrono::seconds(*seconds);
    }
    bool timedOut = false;
    PostgresPollingStatusType state =
        PQstatus(m_connection) == CONNECTION_BAD ? PGRES_POLLING_FAILED : PGRES_POLLING_WRITING;
    while (state != PGRES_POLLING_OK && state != PGRES_POLLING_FAILED) {
        if (!waitForSocket(PQsocket(m_connection),
                           state == PGRES_POLLING_READING ? POLLIN : POLLOUT, deadline)) {
            timedOut = true;
            break;
        }
        state = PQconnectPoll(m_connection);
    }

    m_description = postgresServerDescription(
        QString::fromUtf8(PQuser(m_connection)), QString::fromUtf8(PQhost(m_connection)),
        QString::fromUtf8(PQport(m_connection)), QString::fromUtf8(PQdb(m_connection)));
    if (state != PGRES_POLLING_OK) {
        recordConnectFailure();
        if (timedOut) {
            m_failure.kind = PostgresFailure::Kind::Unreachable;
            m_failure.detail = QStringLiteral("%1 秒内没有应答").arg(*seconds);
        }
        close();
        return false;
    }
    PQsetErrorVerbosity(m_connection, PQERRORS_DEFAULT);
    // Statements are sent and awaited without blocking, so that a silent server is given up on.
    PQsetnonblocking(m_connection, 1);
    m_wasOpen = true;
    return true;
}

bool PostgresConnection::reconnect() {
    const QString connectionString = m_connectionString;
    return open(connectionString);
}

void PostgresConnection::close() {
    PQfinish(m_connection);
    m_connection = nullptr;
    m_wasOpen = false;
}

bool PostgresConnection::isOpen() const {
    return m_connection != nullptr && PQstatus(m_connection) == CONNECTION_OK;
}

bool PostgresConnection::isConnectionLost() const {
    return m_wasOpen && !isOpen();
}

bool PostgresConnection::isInTransaction() const {
    const PGTransactionStatusType status = PQtransactionStatus(m_connection);
    return status != PQTRANS_IDLE && status != PQTRANS_UNKNOWN;
}

PostgresResult PostgresConnection::run(const QString& sql, const PostgresParameters& parameters) {
    m_failure = {};
    if (m_connection == nullptr) {
        m_failure.kind = PostgresFailure::Kind::ConnectionLost;
        m_failure.detail = QStringLiteral("not connected");
        return {};
    }
    const bool anyNul = containsNul(sql) || std::any_of(parameters.begin(), parameters.end(),
                                                        [](const std::optional<QString>& value) {
                                                            return value && containsNul(*value);
                                                        });
    if (anyNul) {
        m_failure.kind = PostgresFailure::Kind::TextWithNul;
        return {};
    }
    QByteArrayList texts;
    texts.reserve(parameters.size());
    for (const std::optional<QString>& value : parameters) {
        texts.append(value ? value->toUtf8() : QByteArray());
    }
    std::vector<const char*> values(parameters.size(), nullptr);
    for (qsizetype i = 0; i < parameters.size(); ++i) {
        if (parameters[i]) {
            values[i] = texts[i].constData();
        }
    }
    const bool sent =
        PQsendQueryParams(m_connection, sql.toUtf8().constData(), static_cast<int>(values.size()),
                          nullptr, values.data(), nullptr, nullptr, 0) == 1;
    PostgresResult result;
    if (sent && !awaitResult(&result)) {
        giveUpOnSilentServer();
        return {};
    }
    if (!result.succeeded()) {
        recordStatementFailure(result.m_result.get());
    }
    return result;
}

bool PostgresConnection::awaitResult(PostgresResult* result) {
    const Clock::time_point deadline = Clock::now() + m_answerDeadline;
    const int socket = PQsocket(m_connection);
    for (int unsent = PQflush(m_connection); unsent == 1; unsent = PQflush(m_connection)) {
        if (!waitForSocket(socket, POLLIN | POLLOUT, deadline)) {
            return false;
        }
        PQconsumeInput(m_connection);
    }
    // A statement gives one result, or the first failure among several; the end of the results
    // is told by the server too, and is waited for like them.
    for (;;) {
        while (PQisBusy(m_connection) == 1) {
            if (!waitForSocket(socket, POLLIN, deadline)) {
                return false;
            }
            if (PQconsumeInput(m_connection) == 0) {
                break;
            }
        }
        pg_result* next = PQgetResult(m_connection);
        if (next == nullptr) {
            return true;
        }
        if (result->succeeded() || !result->m_result) {
            result->m_result.reset(next);
        } else {
            PQclear(next);
        }
    }
}

void PostgresConnection::giveUpOnSilentServer() {
    m_failure.kind = PostgresFailure::Kind::NoAnswer;
    m_failure.detail =
        QString::number(std::chrono::duration_cast<std::chrono::seconds>(m_answerDeadline).count());
    m_failure.host = QString::fromUtf8(PQhost(m_connection));
    m_failure.port = QString::fromUtf8(PQport(m_connection));
    // What the server did with the statement is unknown: the connection counts as lost.
    PQfinish(m_connection);
    m_connection = nullptr;
}

bool PostgresConnection::runUnchecked(const QString& sql) {
    return run(sql).succeeded();
}

bool PostgresConnection::forEachBatch(
    const QString& sql, const PostgresParameters& parameters, int batchRows,
    const std::function<bool(const PostgresResult& batch)>& takeBatch) {
    batchRows = std::max(batchRows, 1);
    const bool ownTransaction = !isInTransaction();
    if (ownTransaction && !runUnchecked(kBeginTransaction)) {
        return false;
    }
    const QString cursor = QStringLiteral("batch_cursor_%1").arg(++m_cursorCount);
    bool succeeded =
        run(QStringLiteral("DECLARE %1 NO SCROLL CURSOR FOR ").arg(cursor) + sql, parameters)
            .succeeded();
    const QString fetch = QStringLiteral("FETCH FORWARD %1 FROM %2").arg(batchRows).arg(cursor);
    while (succeeded) {
        const PostgresResult batch = run(fetch);
        succeeded = batch.succeeded();
        if (!succeeded || batch.rowCount() == 0 || !takeBatch(batch) ||
            batch.rowCount() < batchRows) {
            break;
        }
    }
    succeeded = succeeded && runUnchecked(QStringLiteral("CLOSE %1").arg(cursor));
    if (ownTransaction && succeeded) {
        return runUnchecked(QStringLiteral("COMMIT"));
    }
    if (ownTransaction && isOpen()) {
        const PostgresFailure failure = m_failure;
        runUnchecked(QStringLiteral("ROLLBACK"));
        m_failure = failure;
    }
    return succeeded;
}

QString PostgresConnection::failureReason() const {
    return postgresFailureReason(m_failure);
}

void PostgresConnection::recordConnectFailure() {
    m_failure.host = QString::fromUtf8(PQhost(m_connection));
    m_failure.port = QString::fromUtf8(PQport(m_connection));
    if (PQconnectionNeedsPassword(m_connection)) {
        m_failure.kind = PostgresFailure::Kind::PasswordMissing;
        return;
    }
    const QString message = QString::fromUtf8(PQerrorMessage(m_connection));
    const QRegularExpressionMatch refusal = sqlStateInMessage().match(message);
    if (refusal.hasMatch()) {
        m_failure.kind = PostgresFailure::Kind::ServerError;
        m_failure.sqlState = refusal.captured(1);
        m_failure.detail = refusal.captured(2).simplified();
    } else {
        m_failure.kind = PostgresFailure::Kind::Unreachable;
        m_failure.detail = message.simplified();
    }
}

void PostgresConnection::recordStatementFailure(const pg_result* result) {
    const char* sqlState = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    const char* primary = PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY);
    m_failure.sqlState = QString::fromUtf8(sqlState);
    m_failure.detail =
        primary != nullptr ? oneLine(primary) : oneLine(PQerrorMessage(m_connection));
    m_failure.host = QString::fromUtf8(PQhost(m_connection));
    m_failure.port = QString::fromUtf8(PQport(m_connection));
    m_failure.kind = PQstatus(m_connection) == CONNECTION_BAD
                         ? PostgresFailure::Kind::ConnectionLost
                         : PostgresFailure::Kind::ServerError;
}

}  // namespace storage
