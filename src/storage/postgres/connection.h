#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "storage/postgres/failure.h"

struct pg_conn;
struct pg_result;

namespace storage {

// Statement parameters in order ($1, $2, ...): a text, or std::nullopt for NULL. They travel apart
// from the statement, so no value ever becomes part of the SQL.
using PostgresParameters = QList<std::optional<QString>>;

// The rows of one statement, every value read as text.
class PostgresResult {
public:
    PostgresResult() = default;
    bool succeeded() const;

    int rowCount() const;
    int columnCount() const;
    bool isNull(int row, int column) const;
    // The value as the server wrote it in UTF-8; empty for NULL (isNull tells it from '').
    QByteArrayView utf8(int row, int column) const;
    // A null QString for NULL, an empty one for ''.
    QString text(int row, int column) const;

    // Rows that an INSERT, UPDATE, DELETE, SELECT, FETCH or similar touched; 0 for other
    // statements.
    qint64 rowsAffected() const;

private:
    friend class PostgresConnection;
    struct Free {
        void operator()(pg_result* result) const;
    };
    explicit PostgresResult(pg_result* result) : m_result(result) {}

    std::unique_ptr<pg_result, Free> m_result;
};

// A statement and its parameters.
struct PostgresStatement {
    QString sql;
    PostgresParameters parameters = {};
};

// A server setting and the value it takes.
using PostgresSetting = std::pair<QString, QString>;

// One connection to a PostgreSQL server through libpq. Each failure is kept in lastFailure()
// until the next call; nothing is retried behind the caller's back.
class PostgresConnection {
public:
    PostgresConnection() = default;
    ~PostgresConnection();
    PostgresConnection(const PostgresConnection&) = delete;
    PostgresConnection& operator=(const PostgresConnection&) = delete;

    // Connects to the server that connectionString names (a postgresql:// URI or key=value
    // pairs), trying the hosts of a host list one by one, each for connect_timeout
    // (connect_plan.h), as target_session_attrs asks. The client encoding is always UTF8. A host
    // that answers with a refusal ends the attempt, as in libpq.
    bool open(const QString& connectionString);
    // Drops the connection and connects again with the same string.
    bool reconnect();
    void close();

    bool isOpen() const;
    // True when a connection that was open is gone: the server, the network or an administrator
    // ended it. The server may have committed the last statement or not.
    bool isConnectionLost() const;
    bool isInTransaction() const;

    // Settings that last one transaction and that every transaction carries with it: begin()
    // makes them with its BEGIN, and a statement run outside a transaction makes them in the same
    // round trip. So they hold whichever server session a transaction pooler hands out.
    void setTransactionSettings(const QList<PostgresSetting>& settings);

    // Runs one statement. On failure the result does not succeed and lastFailure() says why. A
    // server that has not answered by the deadline is given up on: the connection is then lost.
    PostgresResult run(const QString& sql, const PostgresParameters& parameters = {});
    void setAnswerDeadline(std::chrono::milliseconds deadline) { m_answerDeadline = deadline; }

    // Begins a transaction at READ COMMITTED with the transaction settings and runs first in it
    // (taking a lock, say), in one round trip: first's rows, or the settings' when there is none.
    // On failure nothing is left open.
    PostgresResult begin(const std::optional<PostgresStatement>& first = std::nullopt);

    // Runs a query whose rows need not fit in memory and hands them to takeBatch in order, at
    // most batchRows at a time; takeBatch returns false to stop early. Uses a cursor, inside a
    // transaction of its own unless one is open. False on failure (see lastFailure()).
    bool forEachBatch(const QString& sql, const PostgresParameters& parameters, int batchRows,
                      const std::function<bool(const PostgresResult& batch)>& takeBatch);

    const PostgresFailure& lastFailure() const { return m_failure; }
    // postgresFailureReason(lastFailure()), after the reasons of the hosts that open() tried
    // before the last one.
    QString failureReason() const;
    // The server in words, user@host:port/dbname (host may be a socket folder), as libpq
    // resolved it; known after open() whether or not it succeeded (then the last host tried).
    const QString& serverDescription() const { return m_description; }

    static constexpr std::chrono::milliseconds kDefaultAnswerDeadline{10'000};

private:
    // Tries one host; false with the failure recorded.
    bool openAttempt(const QList<std::pair<QByteArray, QByteArray>>& options,
                     std::optional<int> timeoutSeconds);
    void recordConnectFailure();
    void recordStatementFailure(const pg_result* result);
    // Sends the statements in one round trip and waits for every answer: the first failure, else
    // the last statement's rows.
    PostgresResult runTogether(const QList<PostgresStatement>& statements);
    // Waits for the answers to what was just sent; false when the deadline passed first.
    bool awaitResult(bool pipelined, PostgresResult* result);
    void giveUpOnSilentServer();
    // Lets go of a connection that can no longer be used; it counts as lost.
    void dropConnection();
    bool runUnchecked(const QString& sql);

    pg_conn* m_connection = nullptr;
    QString m_connectionString;
    QString m_description;
    bool m_wasOpen = false;
    int m_cursorCount = 0;
    std::chrono::milliseconds m_answerDeadline = kDefaultAnswerDeadline;
    std::optional<PostgresStatement> m_settings;
    PostgresFailure m_failure;
    QStringList m_earlierHostFailures;
};

}  // namespace storage
