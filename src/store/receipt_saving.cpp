#include "store/receipt_saving.h"

#include <QDateTime>

#include "store/database.h"
#include "store/journal.h"
#include "store/schema.h"
#include "store/stored_values.h"

namespace store {

namespace {

using storage::RecordWriter;
using storage::TransactionOutcome;

// Saves of one inpatient number are serialised on every desk; others go on side by side.
QString lockKeyOf(const QVariantList& values) {
    return kReceiptTable + QLatin1Char(':') +
           values.value(receiptSchema().indexOf(kInpatientNumberField)).toString();
}

// After a connection lost while committing: whether the receipt is stored as it was sent.
std::optional<storage::RecordId> storedAsSent(
    Database& database, const QVariantList& values,
    const std::function<std::optional<storage::RecordId>(RecordWriter&)>& findRecord) {
    std::optional<storage::RecordId> found;
    database.engine().transact(lockKeyOf(values), [&](RecordWriter& writer) {
        const std::optional<storage::RecordId> id = findRecord(writer);
        if (!id) {
            return false;
        }
        const std::optional<storage::RecordValues> current = writer.read(receiptSchema(), *id);
        if (current && sameRecord(receiptSchema(), *current, values)) {
            found = id;
        }
        return false;
    });
    return found;
}

SaveResult finish(Database& database, const storage::TransactionResult& transaction,
                  SaveResult result, const QVariantList& values,
                  const std::function<std::optional<storage::RecordId>(RecordWriter&)>& find) {
    switch (transaction.outcome) {
        case TransactionOutcome::Committed:
            result.outcome = SaveOutcome::Saved;
            return result;
        case TransactionOutcome::Abandoned:
            return result;
        case TransactionOutcome::Unknown:
            if (const auto id = storedAsSent(database, values, find)) {
                return {SaveOutcome::Saved, *id, {}};
            }
            break;
        case TransactionOutcome::Failed:
            break;
    }
    return {SaveOutcome::Failed, 0, database.writeFailureMessage(transaction.reason)};
}

}  // namespace

SaveResult saveNewReceipt(Database& database, const QVariantList& values) {
    const TableSchema& table = receiptSchema();
    const int numberField = table.indexOf(kInpatientNumberField);
    const QString number = values.value(numberField).toString();
    const auto findNumber = [&](RecordWriter& writer) {
        return writer.firstWithText(table, numberField, number);
    };
    SaveResult result;
    const storage::TransactionResult transaction =
        database.engine().transact(lockKeyOf(values), [&](RecordWriter& writer) {
            if (findNumber(writer)) {
                result.outcome = SaveOutcome::AlreadyStored;
                return false;
            }
            const std::optional<storage::RecordId> id = insertReceiptWithJournalRow(writer, values);
            result.recordId = id.value_or(0);
            return id.has_value();
        });
    return finish(database, transaction, result, values, findNumber);
}

SaveResult saveCorrection(Database& database, const LoadedReceipt& loaded,
                          const QVariantList& values) {
    const TableSchema& table = receiptSchema();
    const auto loadedRecord = [&](RecordWriter&) {
        return std::optional<storage::RecordId>(loaded.recordId);
    };
    SaveResult result;
    const storage::TransactionResult transaction =
        database.engine().transact(lockKeyOf(values), [&](RecordWriter& writer) {
            std::optional<storage::RecordValues> current = writer.read(table, loaded.recordId);
            if (!current || !sameRecord(table, *current, loaded.values)) {
                result.outcome = current ? SaveOutcome::ChangedElsewhere : SaveOutcome::Removed;
                return false;
            }
            current->append(QDateTime::currentDateTime());
            if (!insertHistoryWithJournalRow(writer, *current, loaded.values, values) ||
                !writer.update(table, loaded.recordId, values)) {
                return false;
            }
            result.recordId = loaded.recordId;
            return true;
        });
    return finish(database, transaction, result, values, loadedRecord);
}

}  // namespace store
