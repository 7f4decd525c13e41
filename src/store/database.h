#pragma once

#include <QList>
#include <QString>
#include <memory>

namespace storage {
class StorageEngine;
}

namespace store {

class Table;

// The names by which the program opens its two tables.
inline const QString kReceiptTable = QStringLiteral("MZY");
inline const QString kCashierTable = QStringLiteral("USER");

// The database that holds both tables: an SQLite file, or a PostgreSQL database that several
// desks share. Tables opened on it share one connection, which is made when it is first needed
// and kept until closeAll.
class Database {
public:
    // How long a desk waits for another that holds the data before it gives up and says so.
    static constexpr int kDefaultBusyTimeoutMs = 5000;

    // location is a file path or a postgresql:// URI.
    explicit Database(QString location, int busyTimeoutMs = kDefaultBusyTimeoutMs);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& location() const { return m_location; }

    // Creates what is missing (both tables and the first cashier in a new database, a missing
    // history or index) and checks that the receipt table has all of its columns. On failure
    // returns false and leaves a message for the cashier in *error that names the database and
    // the reason.
    bool prepare(QString* error);

    // Closes every table still open on this database, and the connection.
    void closeAll();

    storage::StorageEngine& engine() { return *m_engine; }

    // Where the PDF copies of printed receipts are kept: receipts/ beside a database file, or
    // receipts/ in the program's data folder for a server.
    QString receiptsFolder() const;

    // Messages for the cashier that name the database: it cannot be used, or a record could not
    // be written into it.
    QString unusableMessage(const QString& reason) const;
    QString writeFailureMessage(const QString& reason) const;

private:
    friend class Table;
    void attach(Table* table);
    void detach(Table* table);

    QString m_location;
    // Why the location names no database that can be used; empty when it does.
    QString m_locationError;
    bool m_onServer = false;
    std::unique_ptr<storage::StorageEngine> m_engine;
    QList<Table*> m_openTables;
};

}  // namespace store
