#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace store {

class Table;

// The names by which the program opens its two tables.
inline const QString kReceiptTable = QStringLiteral("MZY");
inline const QString kCashierTable = QStringLiteral("USER");

// The one SQLite file that holds both tables. Tables opened on it share its connection, which
// opens with the first table and stays open until closeAll.
class Database {
public:
    // How long a statement waits for another program that holds the file before it gives up.
    static constexpr int kDefaultBusyTimeoutMs = 5000;

    explicit Database(QString path, int busyTimeoutMs = kDefaultBusyTimeoutMs);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return m_path; }

    // Creates the file with both tables and the first cashier when it does not exist yet, adds
    // a missing table or index to an existing one, and checks that the receipt table has all of
    // its columns. On failure returns false and leaves a message for the cashier in *error that
    // names the file and the reason.
    bool prepare(QString* error);

    // Closes every table still open on this file, and the connection.
    void closeAll();

    // The Qt SQL connection name used by the tables of this file.
    QString connectionName() const;

    // The connection, opened if it is not open yet. A file that grants nobody write permission
    // opens read-only, as a read-only file would on the cashier's desktop. When the file cannot
    // be opened the result is not open and *error names the file and the reason.
    QSqlDatabase openConnection(QString* error);

private:
    friend class Table;
    void attach(Table* table);
    void detach(Table* table);

    QString m_path;
    QString m_connectionName;
    int m_busyTimeoutMs;
    QList<Table*> m_openTables;
};

}  // namespace store
