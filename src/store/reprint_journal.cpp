#include "store/reprint_journal.h"

#include "store/database.h"
#include "store/journal.h"

namespace store {

ReprintRecord recordReprint(Database& database, const QString& cashier, const QVariantList& receipt,
                            const QString& reason) {
    // Appending a journal row changes nothing another desk may be changing: no lock is needed.
    const storage::TransactionResult transaction =
        database.engine().transact({}, [&](storage::RecordWriter& writer) {
            return insertWithJournalRows(writer, {journalRecord(JournalKind::Reprint, cashier,
                                                                receipt, {}, {}, reason)})
                .has_value();
        });
    if (transaction.outcome == storage::TransactionOutcome::Committed) {
        return {true, {}};
    }
    return {false, database.writeFailureMessage(transaction.reason)};
}

}  // namespace store
