#pragma once

#include <QString>

// The throwaway PostgreSQL server that scripts/test.sh starts for the run. Without it the tests
// that need it fail with kNoServerMessage rather than pass unseen.
namespace postgres_test {

inline constexpr const char* kNoServerMessage =
    "BILLING_TEST_PG is not set: run the PostgreSQL tests through scripts/test.sh, or as "
    "scripts/pg-server.sh run build/tests/billing_tests --gtest_filter=...";

// A libpq URI for a superuser on the server's database postgres.
inline QString serverUri() {
    return qEnvironmentVariable("BILLING_TEST_PG");
}

inline bool serverIsGiven() {
    return !serverUri().isEmpty();
}

}  // namespace postgres_test
