#include "bench/plain_statement.h"

#include "storage/postgres/connection.h"
#include "storage/sqlite/connection.h"
#include "storage/sqlite/statement.h"

struct PlainStatement::Engine {
    bool onServer = false;
    storage::SqliteConnection file;
    storage::PostgresConnection server;
};

PlainStatement::PlainStatement(const QString& location) : m_engine(std::make_unique<Engine>()) {
    Engine& engine = *m_engine;
    engine.onServer = location.startsWith(QStringLiteral("postgresql://"));
    if (engine.onServer) {
        if (!engine.server.open(location)) {
            m_error = engine.server.failureReason();
        }
        return;
    }
    if (engine.file.open(location, false, 5000, &m_error)) {
        engine.file.execute("PRAGMA synchronous = FULL", &m_error);
    }
}

PlainStatement::~PlainStatement() = default;

qint64 PlainStatement::run(const QString& sql, const QStringList& parameters) {
    Engine& engine = *m_engine;
    if (engine.onServer) {
        storage::PostgresParameters values;
        for (const QString& parameter : parameters) {
            values.append(parameter);
        }
        const storage::PostgresResult result = engine.server.run(sql, values);
        if (!result.succeeded()) {
            m_error = engine.server.failureReason();
            return -1;
        }
        return result.rowCount();
    }
    storage::SqliteStatement statement(engine.file, sql);
    for (int i = 0; i < parameters.size(); ++i) {
        statement.bindText(i + 1, parameters[i]);
    }
    qint64 rows = 0;
    while (statement.step()) {
        ++rows;
    }
    if (!statement.isPrepared() || statement.errorCode() != 0) {
        m_error = statement.failureReason();
        return -1;
    }
    return rows;
}
