#pragma once

#include <QByteArrayView>
#include <QString>

#include "storage/sqlite/value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace storage {

class SqliteConnection;

// A prepared statement on an open SQLite connection, finalised with the object.
class SqliteStatement {
public:
    SqliteStatement(const SqliteConnection& connection, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool isPrepared() const { return m_statement != nullptr; }

    // Parameters count from 1. Binding resets the statement first.
    void bindInt64(int parameter, qint64 value);
    void bindDouble(int parameter, double value);
    void bindText(int parameter, const QString& value);
    void bindNull(int parameter);
    // The statement keeps the address: the object must outlive the statement's runs. Only SQL
    // functions that ask for the same type name can see it.
    void bindPointer(int parameter, void* object, const char* typeName);

    // Runs to the next row: true while a row is current, false at the end or on failure.
    bool step();
    // Runs a statement that returns no rows; false on failure.
    bool execute();
    // Ends the run and releases the statement's read lock; the bindings stay.
    void reset();

    SqliteType columnType(int column) const;
    qint64 columnInt64(int column) const;
    double columnDouble(int column) const;
    QByteArrayView columnUtf8(int column) const;
    QString columnText(int column) const;

    // SQLite's result code of the last failure (0 when none) and the reason in words.
    int errorCode() const { return m_errorCode; }
    const QString& failureReason() const { return m_failureReason; }

private:
    void recordFailure(int resultCode);

    sqlite3* m_connection = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    int m_errorCode = 0;
    QString m_failureReason;
};

}  // namespace storage
