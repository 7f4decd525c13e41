#pragma once

#include <QList>
#include <QString>
#include <QVariantList>

#include "common/money.h"
#include "store/journal.h"

namespace store {

// One method's part of an amount.
struct MethodPart {
    QString method;
    common::Money amount;
    bool operator==(const MethodPart&) const = default;
};

// How a receipt's 补收 was taken and its 退款 paid: each split by method, in the order the
// methods were first used; a method whose parts add up to nothing is left out.
struct ReceiptPayment {
    QList<MethodPart> supplement;
    QList<MethodPart> refund;
    bool operator==(const ReceiptPayment&) const = default;
};

// The journal rows of each receipt an inpatient number has had, oldest first, from the rows of
// the number in the order they were written: a receipt's rows end with its void, and the last
// receipt's are those of the receipt stored now unless it was voided too.
struct NumberReceipts {
    QList<QList<JournalEntry>> voided;  // in the order they were voided
    QList<JournalEntry> current;
};
NumberReceipts splitByReceipt(const QList<JournalEntry>& numberRows);

// The payment of the receipt stored now (its 30 fields), from the rows of its number: what its
// rows since it was issued took and paid in each way; what they do not account for (a receipt
// stored before the journal) was paid in cash.
ReceiptPayment currentPayment(const QVariantList& receipt, const QList<JournalEntry>& numberRows);

// The payment the rows of a void took back.
ReceiptPayment voidedPayment(const QList<JournalEntry>& receiptRows);

// The rows that void the receipt (its 30 fields) paid as payment: the first takes back every
// amount, its 补收 and 退款 in their first methods; one more row for each further method, of
// kind VoidContinued, takes back that method's part.
QList<storage::NewRecord> voidRows(const QString& cashier, const QVariantList& receipt,
                                   const ReceiptPayment& payment);

}  // namespace store
