#pragma once

#include <gtest/gtest.h>

#include <QDateTime>
#include <memory>
#include <optional>

#include "receipt/receipt_state.h"
#include "store/database.h"
#include "store/receipt_record.h"
#include "store/receipt_saving.h"
#include "store/schema.h"
#include "store/table.h"
#include "support/database_test.h"

namespace store_test {

inline QDateTime day(int year, int month, int dayOfMonth) {
    return QDateTime(QDate(year, month, dayOfMonth), QTime(0, 0));
}

// A receipt of one bed fee, issued by 491MX.
inline QVariantList receipt(const QString& number, const QString& name,
                            common::Money bedFee = common::yuan(100)) {
    receipt::ReceiptState state;
    state.bedFee = bedFee;
    state.totalAmount = bedFee;
    state.currentCashier = QStringLiteral("491MX");
    return store::receiptRecordValues(number, name, day(2024, 3, 1), day(2024, 3, 5), state);
}

// The stored receipt of this number as 修改 calls it back; none when it is not stored.
inline std::optional<store::LoadedReceipt> loadedReceipt(store::Database& database,
                                                         const QString& number) {
    store::Table table(database);
    if (!table.open(store::kReceiptTable) || !store::findByInpatientNumber(table, number)) {
        return std::nullopt;
    }
    store::LoadedReceipt loaded{table.recordId(), {}};
    for (int field = 0; field < store::kReceiptFieldCount; ++field) {
        loaded.values.append(table.readField(field));
    }
    return loaded;
}

// A prepared database, on each engine in turn, with the walks the store tests make.
class StoreTest : public EngineTest {
protected:
    void appendReceipts(const QList<QVariantList>& records) {
        appendRecords(store::kReceiptTable, records);
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
};

}  // namespace store_test
