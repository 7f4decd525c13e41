#include "bench/million_receipts.h"

#include <QStringList>
#include <random>

#include "receipt/fee_category.h"
#include "storage/storage_engine.h"
#include "store/receipt_record.h"
#include "store/schema.h"
#include "store/table.h"

namespace {

// A stay of a few days, discharged in date order over about three years, with about half of the
// fee categories used.
QVariantList generatedReceipt(int i, std::mt19937& random) {
    static const QStringList names{QStringLiteral("张三"), QStringLiteral("李四"),
                                   QStringLiteral("王小五"), QStringLiteral("赵六"),
                                   QStringLiteral("欧阳明")};
    std::uniform_int_distribution<int> fen(0, 500'000);
    std::uniform_int_distribution<int> stay(0, 30);
    receipt::ReceiptState state;
    for (const receipt::FeeCategory& fee : receipt::kFeeCategories) {
        state.*fee.variable =
            random() % 2 == 0 ? common::Money() : common::Money::fromFen(fen(random));
        state.totalAmount += state.*fee.variable;
    }
    state.prepaidAmount = common::Money::fromFen(100'000 * (random() % 10));
    state.refundAmount = std::max(common::Money(), state.prepaidAmount - state.totalAmount);
    state.arrearsAmount = std::max(common::Money(), state.totalAmount - state.prepaidAmount);
    state.currentCashier = names[i % names.size()];
    const QDateTime discharged(kMillionFirstDischarge.addDays(i / kMillionReceiptsPerDay),
                               QTime(0, 0));
    return store::receiptRecordValues(millionReceiptNumber(i), names[random() % names.size()],
                                      discharged.addDays(-stay(random)), discharged, state);
}

bool hasAllReceipts(store::Database& database) {
    store::Table table(database);
    return table.open(store::kReceiptTable, {store::kInpatientNumberField.toString()}) &&
           store::findByInpatientNumber(table, millionReceiptNumber(kMillionReceipts - 1));
}

// All in one transaction: a million single-record transactions would take hours of flushes.
void fill(store::Database& database) {
    const storage::TransactionResult filled =
        database.engine().transact({}, [](storage::RecordWriter& writer) {
            std::mt19937 random(20240301);
            for (int i = 0; i < kMillionReceipts; ++i) {
                if (!writer.insert(store::receiptSchema(), generatedReceipt(i, random))) {
                    return false;
                }
            }
            return true;
        });
    if (filled.outcome != storage::TransactionOutcome::Committed) {
        qFatal("cannot fill the bench database: %s", qPrintable(filled.reason));
    }
}

}  // namespace

QString millionReceiptNumber(int i) {
    return QStringLiteral("ZY%1").arg(i, 7, 10, QLatin1Char('0'));
}

store::Database& withMillionReceipts(store::Database& database) {
    QString error;
    if (!database.prepare(&error)) {
        qFatal("%s", qPrintable(error));
    }
    if (!hasAllReceipts(database)) {
        fill(database);
    }
    return database;
}
