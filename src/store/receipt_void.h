#pragma once

#include <QString>

#include "store/receipt_saving.h"

namespace store {

class Database;

// The longest reason a void may give, in characters.
inline constexpr int kLongestVoidReason = 50;

enum class VoidOutcome {
    Voided,
    NoReason,          // the reason is blank
    ReasonTooLong,     // more than kLongestVoidReason characters
    NotIssuer,         // another cashier issued the receipt: nothing changed
    ChangedElsewhere,  // another desk changed the receipt since it was shown: nothing changed
    Removed,           // the receipt is no longer stored (voided at another desk)
    Failed,            // nothing changed; error says why
    Uncertain,         // the connection was lost while committing; error says how to find out
};

struct VoidResult {
    VoidOutcome outcome = VoidOutcome::Failed;
    QString issuer;  // who issued the receipt, for NotIssuer
    QString error;   // for Failed and Uncertain, naming the database
};

// The refusal a void's reason gets; Voided when it may be given.
VoidOutcome checkVoidReason(const QString& reason);

// Voids a receipt as it was shown, for cashier, who must be the one who issued it. In one
// transaction its record leaves MZY for the voided receipts (its 30 fields, the database's time,
// the cashier and the reason) and the journal gets the void, every amount taken back; its
// inpatient number is then free for a new receipt.
VoidResult voidReceipt(Database& database, const LoadedReceipt& shown, const QString& cashier,
                       const QString& reason);

}  // namespace store
