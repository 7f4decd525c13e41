#include "bench/bench_server.h"

#include "storage/postgres/connection.h"

QString benchDatabaseOn(const QString& serverUri) {
    const QString name = QStringLiteral("billing_bench");
    storage::PostgresConnection server;
    if (!server.open(serverUri)) {
        qFatal("%s", qPrintable(server.failureReason()));
    }
    const storage::PostgresResult found =
        server.run(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = $1"), {name});
    if (found.rowCount() == 0 &&
        !server
             .run(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(name))
             .succeeded()) {
        qFatal("%s", qPrintable(server.failureReason()));
    }
    return QString(serverUri).replace(QStringLiteral("///postgres?"),
                                      QStringLiteral("///%1?").arg(name));
}
