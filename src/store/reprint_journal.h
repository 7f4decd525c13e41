#pragma once

#include <QString>
#include <QVariantList>

namespace store {

class Database;

struct ReprintRecord {
    bool recorded = false;
    QString error;  // why not, naming the database
};

// Notes in the journal, in a transaction of its own, that cashier printed a stored receipt (its
// 30 fields) again for reason (may be empty): the kind 补打, every amount 0, so that the shift
// counts the paper.
ReprintRecord recordReprint(Database& database, const QString& cashier, const QVariantList& receipt,
                            const QString& reason);
// The same for a deposit's receipt or refund slip printed again: 补打 under its number and name.
ReprintRecord recordDepositReprint(Database& database, const QString& cashier,
                                   const QString& inpatientNumber, const QString& patientName);

}  // namespace store
