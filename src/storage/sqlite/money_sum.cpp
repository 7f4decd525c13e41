#include "storage/sqlite/money_sum.h"

#include <sqlite3.h>

#include "common/money.h"
#include "storage/sqlite/connection.h"

namespace storage {

namespace {

using common::Money;

void addAmount(sqlite3_context* context, int, sqlite3_value** arguments) {
    // SQLite hands out the sum's storage zeroed, once per aggregate.
    auto* fen =
        static_cast<std::int64_t*>(sqlite3_aggregate_context(context, sizeof(std::int64_t)));
    if (fen == nullptr) {
        sqlite3_result_error_nomem(context);
        return;
    }
    if (sqlite3_value_type(arguments[0]) != SQLITE_NULL) {
        *fen = (Money::fromFen(*fen) + Money::fromStoredReal(sqlite3_value_double(arguments[0])))
                   .fen();
    }
}

void finishSum(sqlite3_context* context) {
    const auto* fen = static_cast<std::int64_t*>(sqlite3_aggregate_context(context, 0));
    sqlite3_result_int64(context, fen == nullptr ? 0 : *fen);
}

}  // namespace

bool addMoneySumFunction(const SqliteConnection& connection, QString* reason) {
    // Only the program's own statements may run it: never a view or trigger stored in the file.
    const int result =
        sqlite3_create_function_v2(connection.handle(), kMoneySumFunction, 1,
                                   SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_DIRECTONLY, nullptr,
                                   nullptr, addAmount, finishSum, nullptr);
    if (result != SQLITE_OK) {
        *reason = connection.failureReason();
        return false;
    }
    return true;
}

}  // namespace storage
