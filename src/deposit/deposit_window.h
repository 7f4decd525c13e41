#pragma once

#include <QDialog>
#include <QList>

#include "deposit/deposit_slip.h"
#include "store/deposit_ledger.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTabWidget;

namespace platform {
struct Services;
}
namespace store {
class Database;
}

namespace deposit {

// 预交: the deposits of a stay. 收取 takes one (or enters one paid on a paper slip before the
// ledger was kept) and prints its receipt; the patient's deposits are listed with what is still
// to deduct; 退还 pays one back whole, 补打 prints its paper again.
class DepositWindow final : public QDialog {
    Q_OBJECT

public:
    DepositWindow(const platform::Services& services, store::Database& database,
                  const QString& cashier, QWidget* parent = nullptr);

    // The patient's deposits as listed, in the order they were stored.
    const QList<store::Deposit>& listedDeposits() const { return m_deposits; }
    // Adds a page (the patients in hospital) beside the patient's deposits.
    void addPage(QWidget* page, const QString& caption);

private:
    QWidget* buildTakingPage();
    void readPatient();
    void take();
    void refund();
    void reprint();
    const store::Deposit* selectedDeposit();
    // Prints the slip through the desk's printer (its PDF copy with the receipts' copies) and
    // tells the cashier when it did not reach a printer.
    void printSlip(const store::Deposit& deposit, SlipKind kind, const QDateTime& reprintedAt);
    void showError(const QString& text);

    const platform::Services& m_services;
    store::Database& m_database;
    QString m_cashier;
    QList<store::Deposit> m_deposits;

    QTabWidget* m_pages = nullptr;
    QLineEdit* m_numberBox = nullptr;
    QLineEdit* m_nameBox = nullptr;
    QLineEdit* m_amountBox = nullptr;
    QComboBox* m_methodBox = nullptr;
    QCheckBox* m_enteredLaterBox = nullptr;
    QDateEdit* m_paidOnBox = nullptr;
    QTableWidget* m_table = nullptr;
    QLabel* m_openSum = nullptr;
    QLineEdit* m_reasonBox = nullptr;
    QComboBox* m_returnMethodBox = nullptr;
};

}  // namespace deposit
