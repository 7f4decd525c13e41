#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QUuid>

#include "store/database.h"
#include "store/schema.h"
#include "store/store_fixture.h"

// Database files of the program, made and read by a test as another program would.
namespace database_files {

// Makes the program's database at path, holding the receipts numbered 0 to count - 1.
inline void makeWithReceipts(const QString& path, int count) {
    store::Database database(path);
    QString error;
    ASSERT_TRUE(database.prepare(&error)) << error.toStdString();
    const storage::TransactionResult filled =
        database.engine().transact({}, [count](storage::RecordWriter& writer) {
            for (int number = 0; number < count; ++number) {
                if (!writer.insert(
                        store::receiptSchema(),
                        store_test::receipt(QString::number(number), QStringLiteral("张三")))) {
                    return false;
                }
            }
            return true;
        });
    ASSERT_EQ(filled.outcome, storage::TransactionOutcome::Committed)
        << filled.reason.toStdString();
}

// Runs one statement on the file through a connection of its own; the rows, as texts.
inline QList<QStringList> rowsOf(const QString& path, const QString& sql) {
    const QString name = QUuid::createUuid().toString();
    QList<QStringList> rows;
    {
        QSqlDatabase file = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        file.setDatabaseName(path);
        EXPECT_TRUE(file.open()) << file.lastError().text().toStdString();
        QSqlQuery query(file);
        EXPECT_TRUE(query.exec(sql)) << query.lastError().text().toStdString();
        while (query.next()) {
            QStringList row;
            for (int i = 0; i < query.record().count(); ++i) {
                row.append(query.value(i).toString());
            }
            rows.append(row);
        }
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

inline QList<QStringList> integrityCheck(const QString& path) {
    return rowsOf(path, QStringLiteral("PRAGMA integrity_check"));
}

// The inpatient numbers of the stored receipts, in stored order.
inline QStringList receiptNumbers(const QString& path) {
    QStringList numbers;
    for (const QStringList& row :
         rowsOf(path, QStringLiteral(R"(SELECT "住院号" FROM "MZY" ORDER BY rowid)"))) {
        numbers.append(row.value(0));
    }
    return numbers;
}

// The inpatient numbers that makeWithReceipts(path, count) stores.
inline QStringList numbersBelow(int count) {
    QStringList numbers;
    for (int number = 0; number < count; ++number) {
        numbers.append(QString::number(number));
    }
    return numbers;
}

// The permission bits of a file or folder, as chmod writes them; -1 when it does not exist.
inline int modeOf(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0
               ? static_cast<int>(status.st_mode & 07777)
               : -1;
}

}  // namespace database_files
