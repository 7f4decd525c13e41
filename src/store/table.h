#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <memory>

#include "storage/storage_engine.h"

namespace store {

class Database;

// One table of the database, walked record by record in stored order. A handler opens the
// table it needs, works on the current record and closes it before it returns.
//
// Field values keep their kind: text fields read as QString, date-times as QDateTime, amounts as
// common::Money (whatever number type holds them, rounded to the fen).
//
// A walk that reads only a few fields of every record names them when it opens the table, and
// only those are fetched. Field positions stay the table's own either way.
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
    // Makes the record with this identity the current one; false, and past the last record,
    // when there is none.
    bool goToRecord(storage::RecordId id);
    // The identity of the current record, which no change of it or of others alters.
    storage::RecordId recordId() const;

    // An invalid QVariant when there is no current record or no such field. A field that was
    // not opened also gives an invalid QVariant, and sets lastError.
    QVariant readField(QStringView fieldName) const;
    // The position of a field in the table, whichever fields were opened, for walks that read
    // the same fields from every record; -1 when the table has no such field.
    int fieldIndex(QStringView fieldName) const;
    QVariant readField(int fieldIndex) const;

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

    void seek(storage::RecordId from);
    void advance();
    bool checkWritable(const QVariantList& values, bool needsRecord);
    bool write(const std::function<bool(storage::RecordWriter&)>& work);

    Database& m_database;
    std::unique_ptr<Cursor> m_cursor;
    // Reading a field that was not opened is a failure too, though reading changes nothing else.
    mutable QString m_lastError;
};

// Makes the first record whose 住院号 equals inpatientNumber exactly the current one, searching
// from the first record.
bool findByInpatientNumber(Table& table, const QString& inpatientNumber);

}  // namespace store
