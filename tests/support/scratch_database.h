#pragma once

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

// The engines the store runs on; store tests run once on each.
enum class EngineKind { Sqlite, Postgres };

inline std::string engineName(const ::testing::TestParamInfo<EngineKind>& info) {
    return info.param == EngineKind::Sqlite ? "SQLite" : "PostgreSQL";
}

// A fresh, empty database of one engine, gone when the test ends: a file in a temporary folder.
// The test changes and reads it through a connection of its own, as another program would.
class ScratchDatabase {
public:
    explicit ScratchDatabase(EngineKind kind) : m_kind(kind) {
        EXPECT_TRUE(m_folder.isValid());
        m_location = m_folder.filePath(QStringLiteral("billing.sqlite"));
    }
    ~ScratchDatabase() { QSqlDatabase::removeDatabase(connectionName()); }
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    EngineKind kind() const { return m_kind; }
    // The file path or the server URI, as --database takes it.
    const QString& location() const { return m_location; }
    // The folder that holds the file.
    QString folder() const { return m_folder.path(); }

    // Runs one statement; the rows it returns, each as its values' texts.
    QList<QStringList> runSql(const QString& sql) {
        QSqlQuery query(connection());
        EXPECT_TRUE(query.exec(sql)) << query.lastError().text().toStdString();
        QList<QStringList> rows;
        while (query.next()) {
            QStringList row;
            for (int i = 0; i < query.record().count(); ++i) {
                row.append(query.value(i).toString());
            }
            rows.append(row);
        }
        return rows;
    }

private:
    QString connectionName() const { return QStringLiteral("another program ") + m_location; }

    QSqlDatabase connection() {
        QSqlDatabase other = QSqlDatabase::database(connectionName());
        if (!other.isValid()) {
            other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName());
            other.setDatabaseName(m_location);
        }
        EXPECT_TRUE(other.isOpen() || other.open()) << other.lastError().text().toStdString();
        return other;
    }

    EngineKind m_kind;
    QTemporaryDir m_folder;
    QString m_location;
};
