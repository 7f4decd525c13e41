#include "store/reprint_journal.h"

#include "store/database.h"
#include "store/journal.h"

namespace store {

namespace {

ReprintRecord appendReprint(Database& database, const storage::NewRecord& row) {
    // Appending a journal row changes nothing another desk may be changing: no lock is needed.
    const storage::TransactionResult transaction =
        database.engine().transact({}, [&](storage::RecordWriter& writer) {
            return insertWithJournalRows(writer, {row}).has_value();
        });
    if (transaction.outcome == storage::TransactionOutcome::Committed) {
        return {true, {}};
    }
    return {false, database.writeFailureMessage(transaction.reason)};
}

}  // namespace

ReprintRecord recordReprint(Database& database, const QString& cashier, const QVariantList& receipt,
                            const QString& reason) {
    return appendReprint(database,
                         journalRecord(JournalKind::Reprint, cashier, receipt, {}, {}, reason));
}

ReprintRecord recordDepositReprint(Database& database, const QString& cashier,
                                   const QString& inpatientNumber, const QString& patientName) {
    return appendReprint(
        database, journalRow(JournalKind::Reprint, cashier, inpatientNumber, patientName, {}, {}));
}

}  // namespace store
