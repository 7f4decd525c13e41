#include "bench/plain_query.h"

#include "storage/postgres/connection.h"
#include "storage/sqlite/connection.h"
#include "storage/sqlite/statement.h"

struct PlainQuery::Engine {
    bool onServer = false;
    QString sql;
    int columns = 0;
    storage::SqliteConnection file;
    storage::PostgresConnection server;
};

PlainQuery::PlainQuery(const QString& location, const QString& sql, int columns)
    : m_engine(std::make_unique<Engine>()) {
    Engine& engine = *m_engine;
    engine.sql = sql;
    engine.columns = columns;
    engine.onServer = location.startsWith(QStringLiteral("postgresql://"));
    const bool opened = engine.onServer ? engine.server.open(location)
                                        : engine.file.open(location, true, 5000, &m_error);
    if (!opened && engine.onServer) {
        m_error = engine.server.failureReason();
    }
}

PlainQuery::~PlainQuery() = default;

bool PlainQuery::run(qint64* rows) {
    Engine& engine = *m_engine;
    *rows = 0;
    if (engine.onServer) {
        const storage::PostgresResult result = engine.server.run(engine.sql);
        if (!result.succeeded()) {
            m_error = engine.server.failureReason();
            return false;
        }
        *rows = result.rowCount();
        return true;
    }
    // Prepared at every run, as the program prepares its statements.
    storage::SqliteStatement query(engine.file, engine.sql);
    qint64 bytes = 0;
    while (query.step()) {
        ++*rows;
        for (int column = 0; column < engine.columns; ++column) {
            bytes += query.columnUtf8(column).size();
        }
    }
    if (!query.isPrepared() || query.errorCode() != 0) {
        m_error = query.failureReason();
        return false;
    }
    return bytes >= 0;
}
