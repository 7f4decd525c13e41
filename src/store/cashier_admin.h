#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "common/money.h"
#include "store/cashier_password.h"

namespace store {

class Database;

// One record of the cashier table as the administrator sees it.
struct CashierEntry {
    QString name;
    StoredPassword password = StoredPassword::Hash;
};

enum class CashierChangeOutcome {
    Done,
    NameTaken,      // add: a cashier of that name is in the table
    UnknownName,    // password, remove: no cashier has exactly that name
    LastCashier,    // remove: nobody would be left to log in
    OpenShift,      // remove: journal rows of the cashier await his settlement at the desk
    UnusableName,   // add: empty, or holding a line break or another control character
    EmptyPassword,  // add, password
    Failed,         // the database could not be read or written: nothing changed
    Uncertain,      // the connection was lost while committing: it may or may not have happened
};

// What a removal found open: how many events, and the cash the cashier would hand over.
struct OpenShiftSummary {
    qint64 events = 0;
    common::Money cash;
};

struct CashierChange {
    CashierChangeOutcome outcome = CashierChangeOutcome::Failed;
    QString error;                    // why it failed or is uncertain, naming the database
    OpenShiftSummary openShift = {};  // for OpenShift
};

// The cashier table in stored order; false, with the reason in *error, when it cannot be read.
bool listCashiers(Database& database, QList<CashierEntry>* cashiers, QString* error);

// Whether a cashier has exactly that name, to ask before a password is typed; only the change
// itself decides. None, with the reason in *error, when the table cannot be read.
std::optional<bool> hasCashier(Database& database, const QString& name, QString* error);

// Whether a cashier has that name, or receipts name him as their cashier (in MZY, and with
// voidedToo also voided ones): a removed cashier's receipts are still his. None, with the reason
// in *error, when a table cannot be read.
std::optional<bool> isKnownCashier(Database& database, const QString& name, bool voidedToo,
                                   QString* error);

// A name the login box can take and a listing can show on one line: not empty, and without line
// breaks or other control characters.
bool isUsableCashierName(const QString& name);

// Each change is one transaction that checks the table under the cashier table's lock, so that
// two administrators at once cannot, say, both remove the last but one. Names are stored exactly
// as given; passwords only as hashes.

// Appends a cashier whose name no record has yet.
CashierChange addCashier(Database& database, const QString& name, const QString& password);
// Sets the password of the first cashier of that name: the one whose password the login checks.
CashierChange changePassword(Database& database, const QString& name, const QString& password);
// Removes every cashier of that name, as long as another cashier remains and no journal row of
// that name is still open: only the cashier himself settles it, at the desk, and after his
// removal it would reach no settlement or day sheet. A save under way is waited for.
CashierChange removeCashier(Database& database, const QString& name);

}  // namespace store
