#pragma once

#include <QString>
#include <optional>

namespace storage {

// Where a desk's data is: an SQLite file, or a database on a PostgreSQL server.
struct DatabaseLocation {
    enum class Engine { SqliteFile, PostgresServer };

    Engine engine = Engine::SqliteFile;
    QString value;        // the file path, or the server's address, exactly as given
    QString description;  // for messages: the file path, or the server (never a password)
};

// Reads the value of --database, or of database= in the desk settings: a URI that starts with
// postgresql:// or postgres://, or libpq's "host=... dbname=..." string, names a server (checked
// with libpq's own parser); anything else an SQLite file, unless it looks like a server address
// typed wrong ("postgresql:/db1/billing", "db1:5432/billing"), which is refused rather than made
// into a new file. Nothing is opened or looked up. A value that names neither gives nullopt and
// a message for *error that shows the right form and never repeats a password.
std::optional<DatabaseLocation> readDatabaseLocation(const QString& value, QString* error);

}  // namespace storage
