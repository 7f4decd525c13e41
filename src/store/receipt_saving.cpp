#include "store/receipt_saving.h"

#include <QDateTime>
#include <algorithm>

#include "store/database.h"
#include "store/deposit_ledger.h"
#include "store/journal.h"
#include "store/save_pause.h"
#include "store/schema.h"
#include "store/stored_values.h"

namespace store {

namespace {

using storage::RecordWriter;
using storage::TransactionOutcome;

// After a connection lost while committing, what a fresh look at the receipt shows: stored as
// it was sent (its record), not stored, or nothing when the database could not be read either.
struct ReadBack {
    bool settled = false;
    std::optional<storage::RecordId> stored;
};

ReadBack readBack(
    Database& database, const QVariantList& values,
    const std::function<std::optional<storage::RecordId>(RecordWriter&)>& findRecord) {
    ReadBack back;
    const storage::TransactionResult looked =
        database.engine().transact(numberLockKey(values), [&](RecordWriter& writer) {
            const std::optional<storage::RecordId> id = findRecord(writer);
            const std::optional<storage::RecordValues> current =
                id ? writer.read(receiptSchema(), *id) : std::nullopt;
            if (current && sameRecord(receiptSchema(), *current, values)) {
                back.stored = id;
            }
            return false;
        });
    back.settled = looked.outcome == TransactionOutcome::Abandoned;
    return back;
}

SaveResult outcomeOf(Database& database, const storage::TransactionResult& transaction,
                     SaveResult result, const QVariantList& values,
                     const std::function<std::optional<storage::RecordId>(RecordWriter&)>& find) {
    switch (transaction.outcome) {
        case TransactionOutcome::Committed:
            result.outcome = SaveOutcome::Saved;
            return result;
        case TransactionOutcome::Abandoned:
            return result;
        case TransactionOutcome::Unknown: {
            const ReadBack back = readBack(database, values, find);
            if (back.stored) {
                return {SaveOutcome::Saved, *back.stored, {}};
            }
            if (!back.settled) {
                return {SaveOutcome::Uncertain, 0,
                        database.writeFailureMessage(transaction.reason)};
            }
            break;
        }
        case TransactionOutcome::Failed:
            break;
    }
    return {SaveOutcome::Failed, 0, database.writeFailureMessage(transaction.reason)};
}

SaveResult finish(Database& database, const storage::TransactionResult& transaction,
                  const SaveResult& result, const QVariantList& values,
                  const std::function<std::optional<storage::RecordId>(RecordWriter&)>& find) {
    const SaveResult finished = outcomeOf(database, transaction, result, values, find);
    if (finished.outcome == SaveOutcome::Saved) {
        pauseForTesting(SavePoint::Committed);
    }
    return finished;
}

common::Money prepaidOf(const QVariantList& values) {
    return values.value(receiptSchema().indexOf(kPrepaidField)).value<common::Money>();
}

// Whether the number's open deposits are exactly those the receipt deducts, and its 预交 their
// sum when there are any; the open deposits in *open.
bool deductsOpenDeposits(RecordWriter& writer, const QVariantList& values,
                         const QList<storage::RecordId>& deducted, QList<Deposit>* open,
                         bool* readable) {
    const QString number = values.value(receiptSchema().indexOf(kInpatientNumberField)).toString();
    *readable = readNumberDeposits(writer, number, DepositState::Open, open);
    QList<storage::RecordId> ids;
    for (const Deposit& deposit : *open) {
        ids.append(deposit.id);
    }
    QList<storage::RecordId> expected = deducted;
    std::sort(ids.begin(), ids.end());
    std::sort(expected.begin(), expected.end());
    return ids == expected && (open->isEmpty() || prepaidOf(values) == depositSum(*open));
}

}  // namespace

QString numberLockKey(const QVariantList& receipt) {
    return inpatientNumberLockKey(
        receipt.value(receiptSchema().indexOf(kInpatientNumberField)).toString());
}

QString inpatientNumberLockKey(const QString& inpatientNumber) {
    return kReceiptTable + QLatin1Char(':') + inpatientNumber;
}

SaveResult saveNewReceipt(Database& database, const QVariantList& values,
                          const EventMethods& methods,
                          const QList<storage::RecordId>& deductedDeposits) {
    const TableSchema& table = receiptSchema();
    const int numberField = table.indexOf(kInpatientNumberField);
    const QString number = values.value(numberField).toString();
    const auto findNumber = [&](RecordWriter& writer) {
        return writer.firstWithText(table, numberField, number);
    };
    SaveResult result;
    const storage::TransactionResult transaction =
        database.engine().transact(numberLockKey(values), [&](RecordWriter& writer) {
            if (findNumber(writer)) {
                result.outcome = SaveOutcome::AlreadyStored;
                return false;
            }
            QList<Deposit> deposits;
            bool readable = false;
            if (!deductsOpenDeposits(writer, values, deductedDeposits, &deposits, &readable)) {
                if (readable) {
                    result.outcome = SaveOutcome::DepositsChanged;
                }
                return false;
            }
            pauseForTesting(SavePoint::NumberChecked);
            const std::optional<storage::RecordId> id =
                insertReceiptWithJournalRow(writer, values, methods);
            result.recordId = id.value_or(0);
            return id.has_value() && setDepositStates(writer, deposits, DepositState::Settled);
        });
    return finish(database, transaction, result, values, findNumber);
}

SaveResult saveCorrection(Database& database, const LoadedReceipt& loaded,
                          const QVariantList& values, const EventMethods& methods) {
    const TableSchema& table = receiptSchema();
    const auto loadedRecord = [&](RecordWriter&) {
        return std::optional<storage::RecordId>(loaded.recordId);
    };
    SaveResult result;
    const storage::TransactionResult transaction =
        database.engine().transact(numberLockKey(values), [&](RecordWriter& writer) {
            std::optional<storage::RecordValues> current = writer.read(table, loaded.recordId);
            if (!current || !sameRecord(table, *current, loaded.values)) {
                result.outcome = current ? SaveOutcome::ChangedElsewhere : SaveOutcome::Removed;
                return false;
            }
            QList<Deposit> deducted;
            if (!readNumberDeposits(writer,
                                    values.value(table.indexOf(kInpatientNumberField)).toString(),
                                    DepositState::Settled, &deducted)) {
                return false;
            }
            if (!deducted.isEmpty() && prepaidOf(values) != depositSum(deducted)) {
                result.outcome = SaveOutcome::DepositsChanged;
                return false;
            }
            pauseForTesting(SavePoint::CorrectionCompared);
            current->append(QDateTime::currentDateTime());
            if (!insertHistoryWithJournalRow(writer, *current, loaded.values, values, methods) ||
                !writer.update(table, loaded.recordId, values)) {
                return false;
            }
            result.recordId = loaded.recordId;
            return true;
        });
    return finish(database, transaction, result, values, loadedRecord);
}

}  // namespace store
