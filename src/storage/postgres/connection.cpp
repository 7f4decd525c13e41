#include "storage/postgres/connection.h"

#include <libpq-fe.h>
#include <poll.h>

#include <QByteArrayList>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <vector>

#include "storage/postgres/connect_plan.h"

namespace storage {

namespace {

using Clock = std::chrono::steady_clock;

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

// Every transaction states its level: a database or role may default to a stricter one, whose
// snapshot would be taken before a lock is waited for.
const QString kBeginTransaction = QStringLiteral("BEGIN ISOLATION LEVEL READ COMMITTED");

// Whether libpq would go on to the next host after this failure: it does when no server answered,
// or one answered that it cannot take connections now (57P03), or was not of the kind
// target_session_attrs asks for; a server's refusal (a password, a database) ends the attempt.
bool mayTryNextHost(const PostgresFailure& failure) {
    return failure.kind == PostgresFailure::Kind::Unreachable ||
           failure.sqlState == QLatin1StringView("57P03");
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
    m_earlierHostFailures.clear();
    m_description.clear();
    if (containsNul(connectionString)) {
        m_failure.kind = PostgresFailure::Kind::TextWithNul;
        return false;
    }
    const ConnectPlan plan = planConnection(connectionString.toUtf8());
    if (!plan.refusal.isEmpty()) {
        m_failure.kind = PostgresFailure::Kind::BadAddress;
        m_failure.detail = plan.refusal;
        return false;
    }
    for (const ConnectAttempt& attempt : plan.attempts) {
        if (m_failure.kind != PostgresFailure::Kind::None) {
            const QString reason = postgresFailureReason(m_failure);
            if (!m_earlierHostFailures.contains(reason)) {
                m_earlierHostFailures.append(reason);
            }
            m_failure = {};
        }
        if (openAttempt(attempt.options, plan.timeoutSeconds)) {
            m_earlierHostFailures.clear();
            return true;
        }
        if (!mayTryNextHost(m_failure)) {
            break;
        }
    }
    return false;
}

bool PostgresConnection::openAttempt(const QList<std::pair<QByteArray, QByteArray>>& options,
                                     std::optional<int> timeoutSeconds) {
    std::vector<const char*> keywords;
    std::vector<const char*> values;
    for (const auto& [keyword, value] : options) {
        keywords.push_back(keyword.constData());
        values.push_back(value.constData());
    }
    keywords.push_back(nullptr);
    values.push_back(nullptr);
    m_connection = PQconnectStartParams(keywords.data(), values.data(), 0);
    if (m_connection == nullptr) {
        m_failure.kind = PostgresFailure::Kind::Unreachable;
        m_failure.detail = QStringLiteral("out of memory");
        return false;
    }
    PQsetNoticeReceiver(m_connection, logWarnings, nullptr);
    PQsetErrorVerbosity(m_connection, PQERRORS_VERBOSE);

    std::optional<Clock::time_point> deadline;
    if (timeoutSeconds) {
        deadline = Clock::now() + std::chrono::seconds(*timeoutSeconds);
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
            m_failure.detail = QStringLiteral("%1 秒内没有应答").arg(*timeoutSeconds);
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

void PostgresConnection::setTransactionSettings(const QList<PostgresSetting>& settings) {
    m_settings.reset();
    if (settings.isEmpty()) {
        return;
    }
    QStringList calls;
    PostgresStatement statement;
    for (const auto& [name, value] : settings) {
        statement.parameters += {name, value};
        calls.append(QStringLiteral("set_config($%1, $%2, true)")
                         .arg(statement.parameters.size() - 1)
                         .arg(statement.parameters.size()));
    }
    statement.sql = QStringLiteral("SELECT ") + calls.join(QStringLiteral(", "));
    m_settings = statement;
}

PostgresResult PostgresConnection::run(const QString& sql, const PostgresParameters& parameters) {
    if (m_settings && m_connection != nullptr && !isInTransaction()) {
        return runTogether({*m_settings, {sql, parameters}});
    }
    return runTogether({{sql, parameters}});
}

PostgresResult PostgresConnection::begin(const std::optional<PostgresStatement>& first) {
    QList<PostgresStatement> statements{{kBeginTransaction}};
    if (m_settings) {
        statements.append(*m_settings);
    }
    if (first) {
        statements.append(*first);
    }
    PostgresResult result = runTogether(statements);
    if (!result.succeeded() && isInTransaction()) {
        const PostgresFailure failure = m_failure;
        runUnchecked(QStringLiteral("ROLLBACK"));
        m_failure = failure;
    }
    return result;
}

PostgresResult PostgresConnection::runTogether(const QList<PostgresStatement>& statements) {
    m_failure = {};
    if (m_connection == nullptr) {
        m_failure.kind = PostgresFailure::Kind::ConnectionLost;
        m_failure.detail = QStringLiteral("not connected");
        return {};
    }
    const bool anyNul =
        std::any_of(statements.begin(), statements.end(), [](const PostgresStatement& statement) {
            return containsNul(statement.sql) ||
                   std::any_of(statement.parameters.begin(), statement.parameters.end(),
                               [](const std::optional<QString>& value) {
                                   return value && containsNul(*value);
                               });
        });
    if (anyNul) {
        m_failure.kind = PostgresFailure::Kind::TextWithNul;
        return {};
    }
    // Statements that travel together go in libpq's pipeline, which the server answers in one go.
    const bool pipelined = statements.size() > 1;
    bool sent = !pipelined || PQenterPipelineMode(m_connection) == 1;
    for (const PostgresStatement& statement : statements) {
        QByteArrayList texts;
        for (const std::optional<QString>& value : statement.parameters) {
            texts.append(value ? value->toUtf8() : QByteArray());
        }
        std::vector<const char*> values;
        for (qsizetype i = 0; i < texts.size(); ++i) {
            values.push_back(statement.parameters[i] ? texts[i].constData() : nullptr);
        }
        sent = sent && PQsendQueryParams(m_connection, statement.sql.toUtf8().constData(),
                                         static_cast<int>(values.size()), nullptr, values.data(),
                                         nullptr, nullptr, 0) == 1;
    }
    sent = sent && (!pipelined || PQpipelineSync(m_connection) == 1);
    PostgresResult result;
    if (sent && !awaitResult(pipelined, &result)) {
        giveUpOnSilentServer();
        return {};
    }
    if (pipelined && PQexitPipelineMode(m_connection) != 1) {
        // Half a pipeline cannot be finished: the connection counts as lost.
        recordStatementFailure(result.m_result.get());
        m_failure.kind = PostgresFailure::Kind::ConnectionLost;
        dropConnection();
        return {};
    }
    if (!result.succeeded()) {
        recordStatementFailure(result.m_result.get());
    }
    return result;
}

bool PostgresConnection::awaitResult(bool pipelined, PostgresResult* result) {
    const Clock::time_point deadline = Clock::now() + m_answerDeadline;
    const int socket = PQsocket(m_connection);
    for (int unsent = PQflush(m_connection); unsent == 1; unsent = PQflush(m_connection)) {
        if (!waitForSocket(socket, POLLIN | POLLOUT, deadline)) {
            return false;
        }
        PQconsumeInput(m_connection);
    }
    // A statement gives one result, or the first failure among several; the end of the results
    // is told by the server too, and is waited for like them. A pipeline's statements each end
    // so, and the pipeline ends with its sync.
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
            if (!pipelined || PQstatus(m_connection) == CONNECTION_BAD) {
                return true;
            }
            continue;
        }
        const ExecStatusType status = PQresultStatus(next);
        if (status == PGRES_PIPELINE_SYNC) {
            PQclear(next);
            return true;
        }
        if (status != PGRES_PIPELINE_ABORTED && (result->succeeded() || !result->m_result)) {
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
    dropConnection();
}

void PostgresConnection::dropConnection() {
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
    if (ownTransaction && !begin().succeeded()) {
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
    QStringList reasons = m_earlierHostFailures;
    reasons.append(postgresFailureReason(m_failure));
    return reasons.join(QStringLiteral("；"));
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
