#pragma once

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTemporaryDir>
#include <QUuid>
#include <QVariant>
#include <memory>

#include "storage/postgres/connection.h"
#include "support/postgres_test_server.h"

// The engines the store runs on; store tests run once on each.
enum class EngineKind { Sqlite, Postgres };

inline std::string engineName(const ::testing::TestParamInfo<EngineKind>& info) {
    return info.param == EngineKind::Sqlite ? "SQLite" : "PostgreSQL";
}

inline void PrintTo(EngineKind kind, std::ostream* os) {
    *os << (kind == EngineKind::Sqlite ? "SQLite" : "PostgreSQL");
}

// A fresh, empty database of one engine, gone when the test ends: a file in a temporary folder,
// or a database of its own on the test server. The test changes and reads it through a
// connection of its own, as another program would.
class ScratchDatabase {
public:
    explicit ScratchDatabase(EngineKind kind) : m_kind(kind) {
        EXPECT_TRUE(m_folder.isValid());
        if (kind == EngineKind::Sqlite) {
            m_location = m_folder.filePath(QStringLiteral("billing.sqlite"));
            return;
        }
        if (!postgres_test::serverIsGiven()) {
            ADD_FAILURE() << postgres_test::kNoServerMessage;
            return;
        }
        m_name = QStringLiteral("t_") + QUuid::createUuid().toString(QUuid::Id128);
        runOnServer(
            QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(m_name));
        m_location = postgres_test::serverUri().replace(QStringLiteral("///postgres?"),
                                                        QStringLiteral("///%1?").arg(m_name));
    }
    ~ScratchDatabase() {
        QSqlDatabase::removeDatabase(connectionName());
        m_server.reset();
        if (!m_name.isEmpty()) {
            runOnServer(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(m_name));
        }
    }
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    EngineKind kind() const { return m_kind; }
    // The file path or the server URI, as --database takes it.
    const QString& location() const { return m_location; }
    // A folder of the test's own.
    QString folder() const { return m_folder.path(); }

    // Runs one statement; the rows it returns, each as its values' texts.
    QList<QStringList> runSql(const QString& sql) {
        return m_kind == EngineKind::Sqlite ? runOnFile(sql) : runOnDatabase(sql);
    }

    // The table's columns in order, as the engine lists them.
    QStringList columnsOf(const QString& table) {
        const QString sql =
            m_kind == EngineKind::Sqlite
                ? QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(table)
                : QStringLiteral(
                      "SELECT column_name FROM information_schema.columns WHERE "
                      "table_name = '%1' ORDER BY ordinal_position")
                      .arg(table);
        QStringList names;
        for (const QStringList& row : runSql(sql)) {
            names.append(row.value(0));
        }
        return names;
    }

private:
    QString connectionName() const { return QStringLiteral("another program ") + m_location; }

    QList<QStringList> runOnFile(const QString& sql) {
        QSqlDatabase other = QSqlDatabase::database(connectionName());
        if (!other.isValid()) {
            other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName());
            other.setDatabaseName(m_location);
        }
        EXPECT_TRUE(other.isOpen() || other.open()) << other.lastError().text().toStdString();
        QSqlQuery query(other);
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

    QList<QStringList> runOnDatabase(const QString& sql) {
        if (!m_server) {
            m_server = std::make_unique<storage::PostgresConnection>();
            EXPECT_TRUE(m_server->open(m_location)) << m_server->failureReason().toStdString();
        }
        return rowsOf(*m_server, sql);
    }

    static void runOnServer(const QString& sql) {
        storage::PostgresConnection server;
        EXPECT_TRUE(server.open(postgres_test::serverUri()))
            << server.failureReason().toStdString();
        rowsOf(server, sql);
    }

    static QList<QStringList> rowsOf(storage::PostgresConnection& connection, const QString& sql) {
        const storage::PostgresResult result = connection.run(sql);
        EXPECT_TRUE(result.succeeded()) << connection.failureReason().toStdString();
        QList<QStringList> rows;
        for (int row = 0; row < result.rowCount(); ++row) {
            QStringList values;
            for (int column = 0; column < result.columnCount(); ++column) {
                values.append(result.text(row, column));
            }
            rows.append(values);
        }
        return rows;
    }

    EngineKind m_kind;
    QTemporaryDir m_folder;
    QString m_location;
    QString m_name;  // of the database on the test server
    std::unique_ptr<storage::PostgresConnection> m_server;
};
