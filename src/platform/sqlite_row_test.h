#pragma once

#include <QSqlDatabase>
#include <QString>
#include <functional>

#include "platform/sqlite_value.h"

namespace platform {

// A test written in C++ that a statement makes on one value of every row it scans, so that the
// rows that fail it cost no more than that value. In SQL it is row_test(?N, expression), with
// ?N bound to the test through SqliteStatement::bindRowTest; without a test bound, no row passes.
using SqliteRowTest = std::function<bool(const SqliteValue& value)>;

inline constexpr char kRowTestFunction[] = "row_test";
// The type under which a test's address is bound, so that no other pointer passes for one.
inline constexpr char kRowTestPointerType[] = "platform::SqliteRowTest";

// Makes row_test known on the connection of database, an open QSQLITE connection. False, with
// SQLite's reason in *reason, when it cannot.
bool addRowTestFunction(const QSqlDatabase& database, QString* reason);

}  // namespace platform
