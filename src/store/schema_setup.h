#pragma once

#include <QSqlDatabase>
#include <QString>

namespace store {

// Brings an open database to the program's tables: adds every missing table, the index and the
// schema version, in one transaction, and gives a new cashier table its first cashier. Nothing
// that exists is changed. Fails, with the reason in *reason, when the file is not a usable
// SQLite database, a table lacks one of its columns, or a missing table cannot be added. A file
// that cannot be written may lack the history table and the index: it can still be read.
bool prepareSchema(QSqlDatabase& connection, QString* reason);

// An identifier quoted for SQL; used only with the program's own table and column names.
QString quotedIdentifier(const QString& name);

}  // namespace store
