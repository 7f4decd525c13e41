#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <memory>
#include <optional>

#include "common/money.h"

namespace store {

class Database;
struct RecordFilter;
struct TableSchema;

// One table of the database, walked record by record in stored order. A handler opens the
// table it needs, works on the current record and closes it before it returns.
//
// Field values keep their kind: text fields read as QString, date-times as QDateTime, amounts as
// common::Money (whatever number type holds them, rounded to the fen).
//
// A walk that reads only a few fields of every record names them when it opens the table, and
// SQLite then fetches only those. Field positions stay the table's own either way. A walk that
// wants only the records passing a test on one field (a date range) can leave the test to SQLite's
// scan, so that the other records cost little more than reading that field.
class Table {
public:
    explicit Table(Database& database);
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // Opens the named table with all its fields; the first record becomes current.
    bool open(const QString& tableName);
    // Opens the named table with only the named fields: reading any other is refused. Lookups
    // and writes work as on a table opened whole. False when the table lacks one of the fields.
    bool open(const QString& tableName, const QStringList& fieldNames);
    // Opens the named table with only the named fields, for a walk over the records that pass
    // filter, in stored order; the others are passed over without being read any further. Such
    // a table is for reading: lookups by text and writes are refused, with a reason in lastError.
    bool open(const QString& tableName, const QStringList& fieldNames, const RecordFilter& filter);
    void goFirst();
    void skip();
    bool pastLast() const;
    // Tests the current record and then each following one; the first that satisfies the
    // condition becomes current. False when none from the current one to the last does.
    bool find(const std::function<bool(const Table&)>& condition);
    // Makes the first record in stored order whose text field equals text exactly the current
    // one, searching from the first record through the field's index where there is one.
    // False, and past the last record, when no record has it.
    bool findFirstWithText(QStringView fieldName, const QString& text);

    // An invalid QVariant when there is no current record or no such field. A field that was
    // not opened also gives an invalid QVariant, and sets lastError.
    QVariant readField(QStringView fieldName) const;
    // The position of a field in the table, whichever fields were opened, for walks that read
    // the same fields from every record; -1 when the table has no such field.
    int fieldIndex(QStringView fieldName) const;
    QVariant readField(int fieldIndex) const;
    // An amount field's value as readField gives it, without packing it into a QVariant, for
    // walks that add up many amounts. None where readField gives no value, and for a field that
    // does not hold amounts.
    std::optional<common::Money> readAmount(int fieldIndex) const;

    // Add a record after the last one / replace every field of the current record, the values in
    // field order; each is one transaction. The current record stays current. A receipt that is
    // rewritten is first copied, as it was, into the receipt history.
    bool appendRecord(const QVariantList& values);
    bool rewriteRecord(const QVariantList& values);

    void close();
    bool isOpen() const;

    // Why the last failed operation failed, for the cashier; empty after a successful open.
    QString lastError() const;

private:
    struct Cursor;
    enum class Write { Append, Rewrite };

    // The whole table when fieldNames is nullptr; every record when filter is nullptr.
    bool openWalk(const QString& tableName, const QStringList* fieldNames,
                  const RecordFilter* filter);
    // The walk statement's column that holds the field; -1 when there is nothing to read.
    int walkColumn(int fieldIndex) const;
    void seek(qint64 firstRowid);
    void advance();
    bool write(Write kind, const QVariantList& values);
    bool checkWritable(Write kind, const QVariantList& values);

    Database& m_database;
    std::unique_ptr<Cursor> m_cursor;
    // Reading a field that was not opened is a failure too, though reading changes nothing else.
    mutable QString m_lastError;
};

// Makes the first record whose 住院号 equals inpatientNumber exactly the current one, searching
// from the first record.
bool findByInpatientNumber(Table& table, const QString& inpatientNumber);

}  // namespace store
