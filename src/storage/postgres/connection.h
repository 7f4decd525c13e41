#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

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

// One connection to a PostgreSQL server through libpq. Each failure is kept in lastFailure()
// until the next call; nothing is retried behind the caller's back.
class PostgresConnection {
public:
    PostgresConnection() = default;
    ~PostgresConnection();
    PostgresConnection(const PostgresConnection&) = delete;
    PostgresConnection& operator=(const PostgresConnection&) = delete;

    // Connects to the server that connectionString names (a postgresql:// URI or key=value
    // pairs). The client encoding is always UTF8; unless the string says otherwise, the attempt
    // gives up after kConnectTimeoutSeconds and the server sees the application name 491MX.
    bool open(const QString& connectionString);
    // Drops the connection and connects again with the same string.
    bool reconnect();
    void close();

    bool isOpen() const;
    // True when a connection that was open is gone: the server, the network or an administrator
    // ended it. The server may have committed the last statement or not.
    bool isConnectionLost() const;
    bool isInTransaction() const;

    // Runs one statement. On failure the result does not succeed and lastFailure() says why. A
    // server that has not answered by the deadline is given up on: the connection is then lost.
    PostgresResult run(const QString& sql, const PostgresParameters& parameters = {});
    void setAnswerDeadline(std::chrono::milliseconds deadline) { m_answerDeadline = deadline; }

    // Runs a query whose rows need not fit in memory and hands them to takeBatch in order, at
    // most batchRows at a time; takeBatch returns false to stop early. Uses a cursor, inside a
    // transaction of its own unless one is open. False on failure (see lastFailure()).
    bool forEachBatch(const QString& sql, const PostgresParameters& parameters, int batchRows,
                      const std::function<bool(const PostgresResult& batch)>& takeBatch);

    const PostgresFailure& lastFailure() const { return m_failure; }
    // postgresFailureReason(lastFailure()).
    QString failureReason() const;
    // The server in words, user@host:port/dbname (host may be a socket folder), as libpq
    // resolved it; known after open() whether or not it succeeded.
    const QString& serverDescription() const { return m_description; }

    static constexpr int kConnectTimeoutSeconds = 5;
    static constexpr std::chrono::milliseconds kDefaultAnswerDeadline{10'000};

    // Every transaction states its level: a database or role may default to a stricter one,
    // whose snapshot would be taken before a lock is waited for.
    static inline const QString kBeginTransaction =
        QStringLiteral("BEGIN ISOLATION LEVEL READ COMMITTED");

private:
    void recordConnectFailure();
    void recordStatementFailure(const pg_result* result);
    // Waits for the statement just sent to be answered; false when the deadline passed first.
    bool awaitResult(PostgresResult* result);
    void giveUpOnSilentServer();
    bool runUnchecked(const QString& sql);

    pg_conn* m_connection = nullptr;
    QString m_connectionString;
    QString m_description;
    bool m_wasOpen = false;
    int m_cursorCount = 0;
    std::chrono::milliseconds m_answerDeadline = kDefaultAnswerDeadline;
    PostgresFailure m_failure;
};

}  // namespace storage
