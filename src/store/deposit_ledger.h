#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include "common/money.h"
#include "storage/storage_engine.h"
#include "store/deposit_table.h"

namespace store {

class Database;

// One deposit as the ledger keeps it.
struct Deposit {
    storage::RecordId id = 0;
    qint64 number = 0;
    QDateTime time;
    QString cashier;
    QString desk;
    QString inpatientNumber;
    QString patientName;
    common::Money amount;
    QString method;
    bool enteredLater = false;
    DepositState state = DepositState::Open;
    QDateTime returnedAt;
    QString returnedBy;
    QString returnMethod;
    QString returnReason;
};

// A deposit as a record of the ledger holds it, its values in the table's order, and back.
storage::RecordValues depositValues(const Deposit& deposit);
Deposit depositOf(storage::RecordId id, const storage::RecordValues& values);

// A deposit to take, or to enter afterwards from a paper slip (paidOn: the day it was paid; null
// for a deposit taken now, which gets the database's time).
struct NewDeposit {
    QString inpatientNumber;
    QString patientName;
    common::Money amount;
    QString method;
    QString cashier;
    QDate paidOn;
};

// The longest reason a refund may give, in characters.
inline constexpr int kLongestRefundReason = 50;

// Why the deposit may not be taken, in the cashier's words; empty when it may. today bounds the
// day of a deposit entered afterwards.
QString depositRefusal(const NewDeposit& deposit, const QDate& today);

enum class DepositOutcome {
    Done,
    Discharged,        // the number's discharge receipt is stored: no deposit any more
    ChangedElsewhere,  // the deposit to refund is no longer open as it was shown
    Failed,            // nothing changed; error says why
    Uncertain,         // the connection was lost while committing; error says how to find out
};

struct DepositResult {
    DepositOutcome outcome = DepositOutcome::Failed;
    Deposit deposit;  // as stored, for Done
    QString error;
};

// Stores a new deposit with the next deposit number of all desks and, unless it is entered
// afterwards, its journal row (预交, the amount and method) in the same transaction, under the
// lock of its inpatient number.
DepositResult takeDeposit(Database& database, const NewDeposit& deposit);

// Pays back the whole of an open deposit as shown: marks it 已退 with the time, cashier, method
// and reason, and journals the refund (预交退还), in one transaction.
DepositResult refundDeposit(Database& database, const Deposit& shown, const QString& cashier,
                            const QString& method, const QString& reason);

// The deposits of one inpatient number in the order they were stored. False with a message for
// the cashier in *error and no deposits.
bool readPatientDeposits(Database& database, const QString& inpatientNumber,
                         QList<Deposit>* deposits, QString* error);

// The deposits of a number still to be deducted, and their sum.
QList<Deposit> openDeposits(const QList<Deposit>& deposits);
common::Money depositSum(const QList<Deposit>& deposits);

// Within a save or void of the number's receipt: the deposits of the number in that state.
bool readNumberDeposits(storage::RecordWriter& writer, const QString& inpatientNumber,
                        DepositState state, QList<Deposit>* deposits);
// Within the same: moves each deposit to the state; false when one cannot be written.
bool setDepositStates(storage::RecordWriter& writer, const QList<Deposit>& deposits,
                      DepositState state);

// "预交金3笔，共5000元": what the billing window says of the deposits it deducts.
QString depositSummary(const QList<Deposit>& deposits);

}  // namespace store
