#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

namespace storage {

// How a column's values are kept and read back, on every engine.
enum class FieldKind {
    Text,      // QString; an absent text reads as the empty text
    DateTime,  // QDateTime, local time to the second
    Amount,    // common::Money; an absent amount reads as 0
    Integer,   // qint64 (counts, numbers given by the program); an absent one reads as 0
};

struct Column {
    QString name;
    FieldKind kind;
    // An amount that sums many receipts' amounts (or is the difference of two): an engine that
    // bounds a number's width gives it room for any sum of amounts it can store.
    bool holdsSums = false;
    // For a column that an upgrade adds to tables made before it: the text the rows already
    // there read as (a word of the program's own; empty: an absent value). None for a column
    // the table has had from the start.
    std::optional<QString> addedLater = std::nullopt;
};

// A table's columns in the order in which records are written. Every engine keeps the records'
// stored order in an identity of its own beside these columns.
struct TableSchema {
    QString name;
    QList<Column> columns;

    // The position of the named column, -1 when the table has none of that name.
    int indexOf(QStringView columnName) const;
};

}  // namespace storage
