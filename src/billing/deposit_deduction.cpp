#include "billing/deposit_deduction.h"

#include "billing/main_window.h"
#include "common/text.h"

namespace billing {

DepositDeduction::DepositDeduction(MainWindow& window, store::Database& database)
    : m_window(window), m_database(database) {}

void DepositDeduction::readForNewReceipt() {
    QList<store::Deposit> deposits;
    QString error;
    const QString number = m_window.inpatientNumber();
    if (!common::isBlank(number) &&
        !store::readPatientDeposits(m_database, number, &deposits, &error)) {
        m_deducted.clear();
        m_window.unlockDeposit(true);
        m_window.setStatusLine(QStringLiteral("无法读取预交金：") + error);
        return;
    }
    m_deducted = store::openDeposits(deposits);
    if (m_deducted.isEmpty()) {
        // A sum the ledger filled in belongs to the number that had it.
        m_window.unlockDeposit(true);
        return;
    }
    show(m_deducted, {});
}

void DepositDeduction::readForCorrection() {
    QList<store::Deposit> deposits;
    QString error;
    m_deducted.clear();
    if (!store::readPatientDeposits(m_database, m_window.inpatientNumber(), &deposits, &error)) {
        m_window.setStatusLine(QStringLiteral("无法读取预交金：") + error);
        return;
    }
    for (const store::Deposit& deposit : deposits) {
        if (deposit.state == store::DepositState::Settled) {
            m_deducted.append(deposit);
        }
    }
    if (m_deducted.isEmpty()) {
        m_window.unlockDeposit(false);
        return;
    }
    show(m_deducted, QStringLiteral("（已结算）"));
}

QList<storage::RecordId> DepositDeduction::deducted() const {
    QList<storage::RecordId> ids;
    for (const store::Deposit& deposit : m_deducted) {
        ids.append(deposit.id);
    }
    return ids;
}

void DepositDeduction::show(const QList<store::Deposit>& deposits, const QString& state) {
    m_window.lockDeposit(store::depositSum(deposits));
    m_window.setStatusLine(store::depositSummary(deposits) + state);
}

}  // namespace billing
