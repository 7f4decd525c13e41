#pragma once

#include <QString>

namespace store {

// The names by which the program opens its two tables.
inline const QString kReceiptTable = QStringLiteral("MZY");
inline const QString kCashierTable = QStringLiteral("USER");

// The one SQLite file that holds both tables. Tables opened on it share its connection.
class Database {
public:
    explicit Database(QString path);
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

private:
    QString m_path;
    QString m_connectionName;
};

}  // namespace store
