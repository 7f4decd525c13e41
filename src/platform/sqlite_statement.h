#pragma once

#include <QByteArrayView>
#include <QString>

#include "platform/sqlite_row_test.h"
#include "platform/sqlite_value.h"

class QSqlDatabase;
struct sqlite3;
struct sqlite3_stmt;

namespace platform {

// A prepared statement run directly on the SQLite connection behind a Qt SQL database. Qt SQL
// turns every column of every row into a QVariant; a walk over all receipts reads only the
// columns it needs from here instead.
class SqliteStatement {
public:
    // Prepares sql on the connection of database, which must be an open QSQLITE connection.
    SqliteStatement(const QSqlDatabase& database, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool isPrepared() const { return m_statement != nullptr; }

    // Parameters count from 1. Binding resets the statement first.
    void bindInt64(int parameter, qint64 value);
    void bindText(int parameter, const QString& value);
    // The statement keeps the test's address: the test must outlive the statement's runs.
    void bindRowTest(int parameter, const SqliteRowTest* test);

    // Runs to the next row: true while a row is current, false at the end or on failure.
    bool step();
    // Ends the run and releases the statement's read lock; the bindings stay.
    void reset();

    SqliteType columnType(int column) const;
    qint64 columnInt64(int column) const;
    double columnDouble(int column) const;
    QByteArrayView columnUtf8(int column) const;
    QString columnText(int column) const;

    // SQLite's result code of the last failure (0 when none) and its text.
    int errorCode() const { return m_errorCode; }
    const QString& errorText() const { return m_errorText; }

private:
    void recordFailure(int resultCode);

    sqlite3* m_connection = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    int m_errorCode = 0;
    QString m_errorText;
};

}  // namespace platform
