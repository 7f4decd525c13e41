#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>

namespace store {

class Database;

// One field that a correction changed, with its value before and after, as the field's kind
// reads it.
struct FieldChange {
    QString field;
    QVariant before;
    QVariant after;
};

// One correction of a receipt: when the version it replaced was put aside, and what it changed.
struct Correction {
    QDateTime changedAt;
    QList<FieldChange> changes;
};

// The corrections of a stored receipt, oldest first, from the earlier versions that MZY_history
// keeps under its inpatient number and the receipt as it is now (current, every field). False,
// with a message for the cashier in *error, when the history cannot be read.
bool receiptCorrections(Database& database, const QVariantList& current,
                        QList<Correction>* corrections, QString* error);

}  // namespace store
