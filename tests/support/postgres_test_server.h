#pragma once

#include <QString>
#include <QUrl>

// The throwaway PostgreSQL server that scripts/test.sh starts for the run. Without it the tests
// that need it fail with kNoServerMessage rather than pass unseen.
namespace postgres_test {

inline constexpr const char* kNoServerMessage =
    "BILLING_TEST_PG is not set: run the PostgreSQL tests through scripts/test.sh, or as "
    "scripts/pg-server.sh run build/tests/billing_tests --gtest_filter=...";
inline constexpr const char* kNoPoolerMessage =
    "BILLING_TEST_PGBOUNCER is not set: run the PgBouncer tests through scripts/test.sh, or as "
    "scripts/pg-server.sh run build/tests/billing_tests --gtest_filter=...";

// A libpq URI for a superuser on the server's database postgres.
inline QString serverUri() {
    return qEnvironmentVariable("BILLING_TEST_PG");
}

inline bool serverIsGiven() {
    return !serverUri().isEmpty();
}

// A libpq URI for a superuser through the PgBouncer in transaction pooling in front of the server.
inline QString poolerUri() {
    return qEnvironmentVariable("BILLING_TEST_PGBOUNCER");
}

inline bool poolerIsGiven() {
    return !poolerUri().isEmpty();
}

// The database on the test server that location names, reached through the pooler.
inline QString throughPooler(const QString& location) {
    return poolerUri().replace(QStringLiteral("///postgres?"),
                               QStringLiteral("///%1?").arg(QUrl(location).path().mid(1)));
}

}  // namespace postgres_test
