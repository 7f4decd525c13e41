#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

namespace store {

struct TableSchema;

// Writes whole records, the values in the schema's column order, each write in one transaction.
// On failure nothing is changed and *reason says why.
bool appendRow(QSqlDatabase& connection, const TableSchema& schema, const QVariantList& values,
               QString* reason);
// Replaces the record at rowid. A receipt is first copied, as it was, with the time of the
// change into the receipt history, in the same transaction.
bool rewriteRow(QSqlDatabase& connection, const TableSchema& schema, qint64 rowid,
                const QVariantList& values, QString* reason);

}  // namespace store
