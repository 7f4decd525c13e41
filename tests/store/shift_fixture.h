#pragma once

#include <gtest/gtest.h>

#include <QVariantList>
#include <algorithm>
#include <random>

#include "receipt/fee_category.h"
#include "receipt/receipt_state.h"
#include "store/journal.h"
#include "store/receipt_record.h"
#include "store/receipt_saving.h"
#include "store/schema.h"
#include "store/settlement.h"
#include "store/shift_figures.h"
#include "store/table.h"
#include "store_fixture.h"

namespace shift_test {

// A receipt of some of the fees, each up to 5,000.00, issued by cashier; prepaid, supplement,
// refund and arrears as a cashier's window leaves them.
inline QVariantList randomReceipt(const QString& number, const QString& cashier,
                                  std::mt19937& random) {
    std::uniform_int_distribution<int> fen(1, 500'000);
    receipt::ReceiptState state;
    for (const receipt::FeeCategory& fee : receipt::kFeeCategories) {
        if (random() % 3 == 0) {
            state.*fee.variable = common::Money::fromFen(fen(random));
            state.totalAmount += state.*fee.variable;
        }
    }
    if (state.totalAmount.isZero()) {
        state.bedFee = state.totalAmount = common::Money::fromFen(fen(random));
    }
    state.prepaidAmount = common::Money::fromFen(100'000 * (random() % 4));
    const common::Money owed = state.totalAmount - state.prepaidAmount;
    state.supplementAmount = owed.isNegative() ? common::Money() : owed;
    state.refundAmount = owed.isNegative() ? -owed : common::Money();
    state.currentCashier = cashier;
    return store::receiptRecordValues(number, QStringLiteral("病人") + number,
                                      store_test::day(2026, 3, 1), store_test::day(2026, 3, 9),
                                      state);
}

// The stored receipt of that number as a window shows it.
inline store::LoadedReceipt shownReceipt(store::Database& database, const QString& number) {
    store::Table table(database);
    EXPECT_TRUE(table.open(store::kReceiptTable)) << table.lastError().toStdString();
    EXPECT_TRUE(store::findByInpatientNumber(table, number)) << number.toStdString();
    store::LoadedReceipt shown{table.recordId(), {}};
    for (int field = 0; field < store::kReceiptFieldCount; ++field) {
        shown.values.append(table.readField(field));
    }
    return shown;
}

// Each journal amount of a receipt, read by its field name, added to sums.
inline void addAmounts(store::JournalAmounts& sums, const QVariantList& receipt, int sign = 1) {
    for (int amount = 0; amount < store::kJournalAmountCount; ++amount) {
        const common::Money value =
            receipt[store::receiptSchema().indexOf(store::journalAmountField(amount))]
                .value<common::Money>();
        sums[amount] += sign > 0 ? value : -value;
    }
}

// The drawer counted with no float, as one sum: the shown rows' cash, or nothing (with a remark)
// when they paid out more cash than they took.
inline store::DrawerCount exactCount(const QList<store::JournalEntry>& shown) {
    store::DrawerCount count;
    count.typedSum = std::max(store::sumEntries(shown).cashDue(), common::Money());
    if (count.typedSum != store::sumEntries(shown).cashDue()) {
        count.remark = QStringLiteral("退款多于收款");
    }
    return count;
}

// A settlement read back keeps no methods: the figures compared with it leave them out.
inline store::ShiftFigures withoutMethods(store::ShiftFigures figures) {
    figures.methods.clear();
    return figures;
}

inline std::vector<std::int64_t> fenOf(const store::JournalAmounts& amounts) {
    std::vector<std::int64_t> fen;
    for (const common::Money amount : amounts) {
        fen.push_back(amount.fen());
    }
    return fen;
}

}  // namespace shift_test
