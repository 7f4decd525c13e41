#pragma once

#include <QList>
#include <QString>

#include "store/deposit_ledger.h"

namespace store {
class Database;
}

namespace billing {

class MainWindow;

// The deposit ledger in the billing window: a number with deposits still to deduct fills 预收
// with their sum and locks it for that receipt, so the bill, the ledger and the drawer agree. A
// number with none leaves 预收 to be typed from the paper slips, as it always was.
class DepositDeduction {
public:
    DepositDeduction(MainWindow& window, store::Database& database);

    // The inpatient-number box was left while a new receipt is typed: reads that number's
    // deposits again.
    void readForNewReceipt();
    // A stored receipt was called back: its deducted deposits hold its 预收.
    void readForCorrection();
    // The records of the deposits the receipt in the window deducts.
    QList<storage::RecordId> deducted() const;

private:
    void show(const QList<store::Deposit>& deposits, const QString& state);

    MainWindow& m_window;
    store::Database& m_database;
    QList<store::Deposit> m_deducted;
};

}  // namespace billing
