#include "bench/bench_server.h"

#include "storage/postgres/connection.h"

namespace {

// Runs one statement on the server's postgres database, or ends the benchmark with the reason.
storage::PostgresResult runOrEnd(storage::PostgresConnection& server, const QString& sql,
                                 const storage::PostgresParameters& parameters = {}) {
    storage::PostgresResult result = server.run(sql, parameters);
    if (!result.succeeded()) {
        qFatal("%s", qPrintable(server.failureReason()));
    }
    return result;
}

void createDatabase(storage::PostgresConnection& server, const QString& name) {
    runOrEnd(server,
             QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(name));
}

storage::PostgresConnection& connected(storage::PostgresConnection& server,
                                       const QString& serverUri) {
    if (!server.open(serverUri)) {
        qFatal("%s", qPrintable(server.failureReason()));
    }
    return server;
}

QString uriOf(const QString& serverUri, const QString& name) {
    return QString(serverUri).replace(QStringLiteral("///postgres?"),
                                      QStringLiteral("///%1?").arg(name));
}

}  // namespace

QString benchDatabaseOn(const QString& serverUri) {
    const QString name = QStringLiteral("billing_bench");
    storage::PostgresConnection server;
    if (runOrEnd(connected(server, serverUri),
                 QStringLiteral("SELECT 1 FROM pg_database WHERE datname = $1"), {name})
            .rowCount() == 0) {
        createDatabase(server, name);
    }
    return uriOf(serverUri, name);
}

QString freshBenchDatabaseOn(const QString& serverUri, const QString& name) {
    storage::PostgresConnection server;
    runOrEnd(connected(server, serverUri),
             QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    createDatabase(server, name);
    return uriOf(serverUri, name);
}
