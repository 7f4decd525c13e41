#pragma once

#include <QString>
#include <QStringList>

#include "storage/table_schema.h"

namespace storage {

// An identifier quoted for SQL, as both engines read it; used only with the program's own table
// and column names, never with typed text.
QString quotedIdentifier(const QString& name);
// A text quoted as an SQL string literal, as both engines read it; used only with the program's
// own words, never with typed text.
QString quotedText(const QString& text);

// The schema's columns, quoted, in order, joined by ", ".
QString quotedColumnList(const TableSchema& table);
// The named columns of the table, quoted, in the given order, joined by ", ".
QString quotedColumnList(const TableSchema& table, const QList<int>& fields);

// The name of the index on one column: <table>_<column>.
QString indexName(const TableSchema& table, int field);
// The name of the index on several columns: <table>_<column>_<column>...
QString indexName(const TableSchema& table, const QList<int>& fields);
// The name of the index that finds a column's values by their beginning: <table>_<column>_prefix.
QString prefixIndexName(const TableSchema& table, int field);
// The name of the index that lists records by a column, then in stored order:
// <table>_<column>_order.
QString orderIndexName(const TableSchema& table, int field);

}  // namespace storage
