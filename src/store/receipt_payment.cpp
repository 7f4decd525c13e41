#include "store/receipt_payment.h"

#include <algorithm>
#include <utility>

#include "receipt/payment_methods.h"
#include "store/schema.h"

namespace store {

namespace {

void addPart(QList<MethodPart>& parts, const QString& method, common::Money amount) {
    if (amount.isZero()) {
        return;
    }
    // Rows written before methods were kept read as 现金; an empty one is treated the same.
    const QString named = method.isEmpty() ? receipt::kCashMethod.toString() : method;
    for (MethodPart& part : parts) {
        if (part.method == named) {
            part.amount += amount;
            return;
        }
    }
    parts.append({named, amount});
}

void dropEmptyParts(QList<MethodPart>& parts) {
    parts.removeIf([](const MethodPart& part) { return part.amount.isZero(); });
}

void addRow(ReceiptPayment& payment, const JournalEntry& row, int sign) {
    const common::Money supplement = journalAmount(row.amounts, kSupplementField);
    const common::Money refund = journalAmount(row.amounts, kRefundField);
    addPart(payment.supplement, row.methods.supplement, sign > 0 ? supplement : -supplement);
    addPart(payment.refund, row.methods.refund, sign > 0 ? refund : -refund);
}

common::Money sumOf(const QList<MethodPart>& parts) {
    common::Money sum;
    for (const MethodPart& part : parts) {
        sum += part.amount;
    }
    return sum;
}

}  // namespace

NumberReceipts splitByReceipt(const QList<JournalEntry>& numberRows) {
    NumberReceipts receipts;
    bool voided = false;
    for (const JournalEntry& row : numberRows) {
        if (row.kind == JournalKind::VoidContinued && voided) {
            receipts.voided.last().append(row);
            continue;
        }
        // A new receipt of the number starts afresh, as does any row after a void.
        if (voided || (row.kind == JournalKind::New && !receipts.current.isEmpty())) {
            receipts.current.clear();
            voided = false;
        }
        receipts.current.append(row);
        if (row.kind == JournalKind::Void) {
            receipts.voided.append(std::exchange(receipts.current, {}));
            voided = true;
        }
    }
    return receipts;
}

ReceiptPayment currentPayment(const QVariantList& receipt, const QList<JournalEntry>& numberRows) {
    ReceiptPayment payment;
    for (const JournalEntry& row : splitByReceipt(numberRows).current) {
        addRow(payment, row, 1);
    }
    const auto stored = [&](QStringView field) {
        return receipt.value(receiptSchema().indexOf(field)).value<common::Money>();
    };
    const QString cash = receipt::kCashMethod.toString();
    addPart(payment.supplement, cash, stored(kSupplementField) - sumOf(payment.supplement));
    addPart(payment.refund, cash, stored(kRefundField) - sumOf(payment.refund));
    dropEmptyParts(payment.supplement);
    dropEmptyParts(payment.refund);
    return payment;
}

ReceiptPayment voidedPayment(const QList<JournalEntry>& receiptRows) {
    ReceiptPayment payment;
    for (const JournalEntry& row : receiptRows) {
        if (row.kind == JournalKind::Void || row.kind == JournalKind::VoidContinued) {
            addRow(payment, row, -1);
        }
    }
    dropEmptyParts(payment.supplement);
    dropEmptyParts(payment.refund);
    return payment;
}

QList<storage::NewRecord> voidRows(const QString& cashier, const QVariantList& receipt,
                                   const ReceiptPayment& payment) {
    const int supplementField = journalAmountIndex(kSupplementField);
    const int refundField = journalAmountIndex(kRefundField);
    const qsizetype rows =
        std::max<qsizetype>(1, std::max(payment.supplement.size(), payment.refund.size()));
    QList<storage::NewRecord> records;
    for (qsizetype row = 0; row < rows; ++row) {
        JournalAmounts change{};
        if (row == 0) {
            change = receiptAmounts(receipt);
            for (common::Money& amount : change) {
                amount = -amount;
            }
        }
        EventMethods methods;
        change[supplementField] = {};
        change[refundField] = {};
        if (row < payment.supplement.size()) {
            change[supplementField] = -payment.supplement[row].amount;
            methods.supplement = payment.supplement[row].method;
        }
        if (row < payment.refund.size()) {
            change[refundField] = -payment.refund[row].amount;
            methods.refund = payment.refund[row].method;
        }
        records.append(journalRecord(row == 0 ? JournalKind::Void : JournalKind::VoidContinued,
                                     cashier, receipt, change, methods));
    }
    return records;
}

}  // namespace store
