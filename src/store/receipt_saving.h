#pragma once

#include <QString>
#include <QVariantList>

#include "storage/storage_engine.h"
#include "store/journal.h"

namespace store {

class Database;

// A stored receipt as it was when the window called it back for correction.
struct LoadedReceipt {
    storage::RecordId recordId = 0;
    QVariantList values;
};

enum class SaveOutcome {
    Saved,
    AlreadyStored,     // another desk stored a receipt with this inpatient number first
    ChangedElsewhere,  // the receipt being corrected is no longer as it was loaded
    // The number's deposits still to deduct are not those the receipt deducts (one was taken or
    // paid back at another desk meanwhile), or its 预交 is not their sum.
    DepositsChanged,
    Removed,  // the receipt being corrected is no longer stored
    Failed,
    // The connection was lost while committing and the database could not be read again: the
    // receipt may or may not be stored.
    Uncertain,
};

struct SaveResult {
    SaveOutcome outcome = SaveOutcome::Failed;
    storage::RecordId recordId = 0;  // the record that now holds the receipt
    QString error;                   // why it failed, naming the database
};

// The lock every change of a receipt (its 30 fields) takes: the changes of one inpatient number
// are serialised on every desk; others go on side by side.
QString numberLockKey(const QVariantList& receipt);
// The same lock by the number alone: a deposit of the number takes it too.
QString inpatientNumberLockKey(const QString& inpatientNumber);

// Appends a receipt, unless a receipt with its inpatient number is stored by the time the desk
// holds the lock on that number. Its journal row keeps how its 补收 and 退款 were paid (现金
// where no method is given). The receipt deducts the number's open deposits, which must be
// exactly deductedDeposits (their records), and marks them settled, in the same transaction.
SaveResult saveNewReceipt(Database& database, const QVariantList& values,
                          const EventMethods& methods = {},
                          const QList<storage::RecordId>& deductedDeposits = {});

// Rewrites the loaded receipt in its place, keeping the version it replaces in the history,
// unless it has changed since it was loaded. Its journal row keeps how the change of its 补收
// and 退款 was paid. A receipt that deducted deposits keeps their sum as its 预交.
SaveResult saveCorrection(Database& database, const LoadedReceipt& loaded,
                          const QVariantList& values, const EventMethods& methods = {});

}  // namespace store
