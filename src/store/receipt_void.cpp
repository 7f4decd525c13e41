#include "store/receipt_void.h"

#include "common/text.h"
#include "store/database.h"
#include "store/deposit_ledger.h"
#include "store/journal.h"
#include "store/receipt_payment.h"
#include "store/schema.h"
#include "store/shift_tables.h"
#include "store/stored_values.h"

namespace store {

namespace {

using storage::RecordWriter;
using storage::TransactionOutcome;

// The number's earlier versions follow the receipt, oldest first; a failed step fails the
// transaction.
bool moveHistory(RecordWriter& writer, const QString& inpatientNumber) {
    const storage::TableSchema& history = receiptHistorySchema();
    const int numberField = history.indexOf(kInpatientNumberField);
    while (const std::optional<storage::RecordId> id =
               writer.firstWithText(history, numberField, inpatientNumber)) {
        const std::optional<storage::RecordValues> version = writer.read(history, *id);
        if (!version || !writer.insert(voidedHistorySchema(), *version) ||
            !writer.remove(history, *id)) {
            return false;
        }
    }
    return true;
}

// Each amount goes back the way it was paid, as the number's journal rows tell.
bool moveToVoided(RecordWriter& writer, const LoadedReceipt& shown, const QString& cashier,
                  const QString& reason) {
    const storage::TableSchema& voided = voidedReceiptSchema();
    const QString number =
        shown.values.value(receiptSchema().indexOf(kInpatientNumberField)).toString();
    QList<JournalEntry> numberRows;
    if (!readNumberEntries(writer, number, &numberRows)) {
        return false;
    }
    QVariantList record = shown.values;
    record += {QDateTime(), cashier, reason};
    // The deposits the receipt deducted are the patient's again, for the receipt that replaces it.
    QList<Deposit> deducted;
    return writer.insertRecords({{&voided, record, voided.indexOf(kVoidedAtField)}}) &&
           writer.remove(receiptSchema(), shown.recordId) && moveHistory(writer, number) &&
           insertWithJournalRows(
               writer, voidRows(cashier, shown.values, currentPayment(shown.values, numberRows)))
               .has_value() &&
           readNumberDeposits(writer, number, DepositState::Settled, &deducted) &&
           setDepositStates(writer, deducted, DepositState::Open);
}

// After a connection lost while committing: whether the receipt has left MZY; none when that
// cannot be told either.
std::optional<bool> isGone(Database& database, const LoadedReceipt& shown) {
    bool gone = false;
    const storage::TransactionResult looked =
        database.engine().transact(numberLockKey(shown.values), [&](RecordWriter& writer) {
            gone = !writer.read(receiptSchema(), shown.recordId);
            return false;
        });
    if (looked.outcome != TransactionOutcome::Abandoned) {
        return std::nullopt;
    }
    return gone;
}

}  // namespace

VoidOutcome checkVoidReason(const QString& reason) {
    if (common::isBlank(reason)) {
        return VoidOutcome::NoReason;
    }
    if (reason.toUcs4().size() > kLongestVoidReason) {
        return VoidOutcome::ReasonTooLong;
    }
    return VoidOutcome::Voided;
}

VoidResult voidReceipt(Database& database, const LoadedReceipt& shown, const QString& cashier,
                       const QString& reason) {
    VoidResult result{checkVoidReason(reason), {}, {}};
    if (result.outcome != VoidOutcome::Voided) {
        return result;
    }
    const storage::TableSchema& receipts = receiptSchema();
    const storage::TransactionResult transaction =
        database.engine().transact(numberLockKey(shown.values), [&](RecordWriter& writer) {
            const std::optional<storage::RecordValues> current =
                writer.read(receipts, shown.recordId);
            if (!current) {
                result.outcome = VoidOutcome::Removed;
                return false;
            }
            result.issuer = current->value(receipts.indexOf(kCashierField)).toString();
            if (!common::textEquals(result.issuer, cashier)) {
                result.outcome = VoidOutcome::NotIssuer;
                return false;
            }
            if (!sameRecord(receipts, *current, shown.values)) {
                result.outcome = VoidOutcome::ChangedElsewhere;
                return false;
            }
            return moveToVoided(writer, shown, cashier, reason);
        });
    switch (transaction.outcome) {
        case TransactionOutcome::Committed:
            result.outcome = VoidOutcome::Voided;
            break;
        case TransactionOutcome::Abandoned:
            break;
        case TransactionOutcome::Unknown:
            if (const std::optional<bool> gone = isGone(database, shown)) {
                result = {*gone ? VoidOutcome::Voided : VoidOutcome::Failed,
                          {},
                          *gone ? QString() : database.writeFailureMessage(transaction.reason)};
                break;
            }
            result = {VoidOutcome::Uncertain, {}, database.writeFailureMessage(transaction.reason)};
            break;
        case TransactionOutcome::Failed:
            result = {VoidOutcome::Failed, {}, database.writeFailureMessage(transaction.reason)};
            break;
    }
    return result;
}

}  // namespace store
