#pragma once

#include <gtest/gtest.h>

#include <QList>
#include <QVariantList>
#include <memory>

#include "store/database.h"
#include "store/table.h"
#include "support/scratch_database.h"

// A fresh database prepared as the program prepares it: an SQLite file, or, for a test of
// EngineTest, each engine in turn.
class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_scratch = std::make_unique<ScratchDatabase>(engineKind());
        m_database = std::make_unique<store::Database>(programLocation());
        QString error;
        ASSERT_TRUE(m_database->prepare(&error)) << error.toStdString();
    }
    void TearDown() override {
        m_database.reset();
        m_scratch.reset();
    }

    virtual EngineKind engineKind() const { return EngineKind::Sqlite; }
    // Where the program under test finds the database: the scratch database itself, unless the
    // test puts something between them.
    virtual QString programLocation() const { return m_scratch->location(); }

    const QString& databaseLocation() const { return m_scratch->location(); }
    store::Database& database() { return *m_database; }
    ScratchDatabase& scratch() { return *m_scratch; }

    // Runs SQL on the database as another program would, behind the program's back.
    QList<QStringList> runSql(const QString& statement) { return m_scratch->runSql(statement); }

    void appendRecords(const QString& tableName, const QList<QVariantList>& records) {
        store::Table table(database());
        ASSERT_TRUE(table.open(tableName)) << table.lastError().toStdString();
        for (const QVariantList& record : records) {
            ASSERT_TRUE(table.appendRecord(record)) << table.lastError().toStdString();
        }
        table.close();
    }

private:
    std::unique_ptr<ScratchDatabase> m_scratch;
    std::unique_ptr<store::Database> m_database;
};

// A test that runs on every engine the store has.
class EngineTest : public DatabaseTest, public ::testing::WithParamInterface<EngineKind> {
protected:
    EngineKind engineKind() const override { return GetParam(); }
};
