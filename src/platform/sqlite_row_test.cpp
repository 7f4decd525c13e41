#include "platform/sqlite_row_test.h"

#include <sqlite3.h>

#include "platform/sqlite_connection.h"

namespace platform {

namespace {

void runRowTest(sqlite3_context* context, int, sqlite3_value** arguments) {
    const auto* test =
        static_cast<const SqliteRowTest*>(sqlite3_value_pointer(arguments[0], kRowTestPointerType));
    sqlite3_result_int(context, test != nullptr && (*test)(SqliteValue(arguments[1])) ? 1 : 0);
}

}  // namespace

bool addRowTestFunction(const QSqlDatabase& database, QString* reason) {
    sqlite3* connection = sqliteConnectionOf(database);
    if (connection == nullptr) {
        *reason = QStringLiteral("no open SQLite connection");
        return false;
    }
    // Only the program's own statements may run it: never a view or trigger stored in the file.
    const int result =
        sqlite3_create_function_v2(connection, kRowTestFunction, 2, SQLITE_UTF8 | SQLITE_DIRECTONLY,
                                   nullptr, runRowTest, nullptr, nullptr, nullptr);
    if (result != SQLITE_OK) {
        *reason = QString::fromUtf8(sqlite3_errmsg(connection));
        return false;
    }
    return true;
}

}  // namespace platform
