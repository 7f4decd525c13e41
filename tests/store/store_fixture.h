#pragma once

#include <gtest/gtest.h>

#include <QDateTime>
#include <QTemporaryDir>
#include <memory>

#include "billing/receipt_state.h"
#include "store/database.h"
#include "store/receipt_record.h"
#include "store/table.h"

namespace store_test {

inline QDateTime day(int year, int month, int dayOfMonth) {
    return QDateTime(QDate(year, month, dayOfMonth), QTime(0, 0));
}

// A receipt of one bed fee, issued by 491MX.
inline QVariantList receipt(const QString& number, const QString& name, float bedFee = 100.0F) {
    billing::ReceiptState state;
    state.bedFee = bedFee;
    state.totalAmount = bedFee;
    state.currentCashier = QStringLiteral("491MX");
    return store::receiptRecordValues(number, name, day(2024, 3, 1), day(2024, 3, 5), state);
}

// A fresh database file in a temporary folder, prepared as the program prepares it.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_database = std::make_unique<store::Database>(path());
        QString error;
        ASSERT_TRUE(m_database->prepare(&error)) << error.toStdString();
    }

    QString path() const { return m_folder.filePath(QStringLiteral("billing.sqlite")); }
    store::Database& database() { return *m_database; }

    void appendReceipts(const QList<QVariantList>& records) {
        store::Table table(database());
        ASSERT_TRUE(table.open(store::kReceiptTable)) << table.lastError().toStdString();
        for (const QVariantList& record : records) {
            ASSERT_TRUE(table.appendRecord(record)) << table.lastError().toStdString();
        }
        table.close();
    }

    // One field of every record, in stored order.
    QStringList walkTexts(const QString& tableName, const QString& field) {
        store::Table table(database());
        EXPECT_TRUE(table.open(tableName)) << table.lastError().toStdString();
        QStringList texts;
        for (table.goFirst(); !table.pastLast(); table.skip()) {
            texts.append(table.readField(field).toString());
        }
        return texts;
    }

private:
    QTemporaryDir m_folder;
    std::unique_ptr<store::Database> m_database;
};

}  // namespace store_test
