#pragma once

#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <map>
#include <memory>
#include <vector>

#include "receipt/fee_category.h"
#include "receipt/receipt_state.h"
#include "store/database.h"
#include "store/receipt_record.h"
#include "store/table.h"
#include "support/database_test.h"

// What a statistics run reads of a receipt: its discharge day, its fees by field name, the
// total and the arrears.
struct StoredReceipt {
    QString inpatientNumber;
    QDate discharge;
    std::map<QString, common::Money> fees;
    common::Money total;
    common::Money arrears;
};

// A fresh receipt table in a temporary folder, filled with the receipts a test stores.
class ReceiptFixture : public DatabaseTest {
protected:
    void store(const std::vector<StoredReceipt>& receipts) {
        QList<QVariantList> records;
        for (const StoredReceipt& receipt : receipts) {
            records.append(record(receipt));
        }
        appendRecords(store::kReceiptTable, records);
    }

private:
    static QVariantList record(const StoredReceipt& receipt) {
        receipt::ReceiptState state;
        for (const receipt::FeeCategory& category : receipt::kFeeCategories) {
            const auto fee = receipt.fees.find(category.fieldName.toString());
            state.*category.variable = fee == receipt.fees.end() ? common::Money() : fee->second;
        }
        state.totalAmount = receipt.total;
        state.arrearsAmount = receipt.arrears;
        state.currentCashier = QStringLiteral("491MX");
        const QDateTime discharge(receipt.discharge, QTime(0, 0));
        return store::receiptRecordValues(receipt.inpatientNumber, QStringLiteral("病人"),
                                          discharge.addDays(-3), discharge, state);
    }
};
