#pragma once

class QSqlDatabase;
struct sqlite3;

namespace platform {

// The SQLite connection behind an open QSQLITE database; nullptr for any other.
sqlite3* sqliteConnectionOf(const QSqlDatabase& database);

}  // namespace platform
