#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <memory>

namespace store {

class Database;

// One table of the database, walked record by record in stored order. A handler opens the
// table it needs, works on the current record and closes it before it returns.
//
// Field values keep their kind: text fields read as QString, date-times as QDateTime, amounts as
// double (a single-precision field is narrowed to float first).
class Table {
public:
    explicit Table(Database& database);
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // Opens the named table; the first record becomes current.
    bool open(const QString& tableName);
    void goFirst();
    void skip();
    bool pastLast() const;
    // Tests the current record and then each following one; the first that satisfies the
    // condition becomes current. False when none from the current one to the last does.
    bool find(const std::function<bool(const Table&)>& condition);

    QVariant readField(const QString& fieldName) const;
    // The position of a field, for walks that read the same fields from every record.
    int fieldIndex(const QString& fieldName) const;
    QVariant readField(int fieldIndex) const;

    // Add a record after the last one / replace every field of the current record, the values in
    // field order; each is one transaction.
    bool appendRecord(const QVariantList& values);
    bool rewriteRecord(const QVariantList& values);

    void close();
    bool isOpen() const;

    // Why the last operation failed, for the cashier.
    QString lastError() const;

private:
    struct Cursor;
    Database& m_database;
    std::unique_ptr<Cursor> m_cursor;
    QString m_lastError;
};

// Makes the first record whose 住院号 equals inpatientNumber exactly the current one, searching
// from the first record.
bool findByInpatientNumber(Table& table, const QString& inpatientNumber);

}  // namespace store
