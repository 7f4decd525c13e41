#pragma once

#include <gtest/gtest.h>

#include <QList>
#include <QTemporaryDir>
#include <QVariantList>
#include <memory>

#include "store/database.h"
#include "store/table.h"

// A fresh database file in a temporary folder, prepared as the program prepares it.
class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_database = std::make_unique<store::Database>(databasePath());
        QString error;
        ASSERT_TRUE(m_database->prepare(&error)) << error.toStdString();
    }

    QString databasePath() const { return m_folder.filePath(QStringLiteral("billing.sqlite")); }
    store::Database& database() { return *m_database; }

    void appendRecords(const QString& tableName, const QList<QVariantList>& records) {
        store::Table table(database());
        ASSERT_TRUE(table.open(tableName)) << table.lastError().toStdString();
        for (const QVariantList& record : records) {
            ASSERT_TRUE(table.appendRecord(record)) << table.lastError().toStdString();
        }
        table.close();
    }

private:
    QTemporaryDir m_folder;
    std::unique_ptr<store::Database> m_database;
};
