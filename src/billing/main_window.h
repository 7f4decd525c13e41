#pragma once

#include <QDateTime>
#include <QMainWindow>
#include <array>

#include "receipt/fee_category.h"
#include "receipt/receipt_state.h"

class QAction;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace platform {
class Clock;
}

namespace billing {

// A stored receipt's values as the window shows them when it is called back for correction.
struct ReceiptEntry {
    QString patientName;
    QDateTime admission;
    QDateTime discharge;
    std::array<common::Money, receipt::kFeeCategoryCount> fees{};
    common::Money prepaid;
    common::Money supplement;
};

// The billing window: one inpatient's receipt is typed here, and the total, the balance and the
// stay length follow every change. The receipt's variables live in its ReceiptState.
class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(const platform::Clock& clock, QWidget* parent = nullptr);

    receipt::ReceiptState& receipt() { return m_receipt; }
    const receipt::ReceiptState& receipt() const { return m_receipt; }

    // Reads the fee boxes, sums them and shows the total in figures and words, then settles
    // the balance.
    void recalculateTotal();
    // Reads the deposit and the supplementary payment and shows the refund or the amount owed.
    void recalculateBalance();
    // Keeps the admission on or before the discharge, repairing the box just changed.
    void checkStayDates(QDateEdit* changedBox, QDateEdit* otherBox);
    // Empties the window for the next receipt and leaves modification mode.
    void newReceipt();

    QString inpatientNumber() const;
    QString patientName() const;
    QDateTime admissionDate() const;
    QDateTime dischargeDate() const;

    void setStatusLine(const QString& text);
    void setCashierPanel(const QString& cashier);
    void setCalculateAndPrintEnabled(bool enabled);
    void focusInpatientNumberForTyping();
    void focusPatientName();
    // 预收 from the deposit ledger: shown, settled and read-only for this receipt.
    void lockDeposit(common::Money sum);
    // 预收 typed again; emptied when the ledger had filled it and clearLedgerSum says so.
    void unlockDeposit(bool clearLedgerSum);
    bool isDepositLocked() const;
    // Fills the window from a stored receipt without checking its dates.
    void showReceiptEntry(const ReceiptEntry& entry);

    QAction* statisticsAction() const { return m_statisticsAction; }
    QAction* registerAction() const { return m_registerAction; }
    QAction* shiftAction() const { return m_shiftAction; }
    QAction* depositAction() const { return m_depositAction; }
    QAction* modifyAction() const { return m_modifyAction; }
    QAction* loginAction() const { return m_loginAction; }
    QAction* exitAction() const { return m_exitAction; }
    QAction* aboutAction() const { return m_aboutAction; }

signals:
    void printRequested();
    void inpatientNumberLeft();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildForm();
    void buildFeeGrid(QWidget* form);
    void setDatesUnchecked(const QDateTime& admission, const QDateTime& discharge);

    const platform::Clock& m_clock;
    receipt::ReceiptState m_receipt;

    QLineEdit* 编辑框1 = nullptr;                                     // patient name
    QLineEdit* 编辑框26 = nullptr;                                    // inpatient number
    QDateEdit* 日期框1 = nullptr;                                     // admission
    QDateEdit* 日期框2 = nullptr;                                     // discharge
    QLabel* 标签43 = nullptr;                                         // stay length
    std::array<QLineEdit*, receipt::kFeeCategoryCount> m_feeBoxes{};  // in FeeCategory order
    QLineEdit* 编辑框23 = nullptr;                                    // the fixed 100 per cent
    QLineEdit* 编辑框27 = nullptr;                                    // total
    QLabel* 标签44 = nullptr;                                         // total in words
    QLineEdit* 编辑框24 = nullptr;                                    // prepaid deposit
    QLabel* 标签45 = nullptr;                                         // deposit in words
    QLineEdit* 编辑框25 = nullptr;                                    // supplementary payment
    QLineEdit* 编辑框28 = nullptr;                                    // refund
    QLineEdit* 编辑框29 = nullptr;                                    // amount still owed
    QPushButton* 按钮3 = nullptr;                                     // 新建
    QPushButton* 按钮1 = nullptr;                                     // 计算
    QPushButton* 按钮2 = nullptr;                                     // 打印
    QLabel* 标签2 = nullptr;                                          // cashier panel
    QLabel* 标签1 = nullptr;                                          // status line

    QAction* m_statisticsAction = nullptr;
    QAction* m_registerAction = nullptr;
    QAction* m_shiftAction = nullptr;
    QAction* m_depositAction = nullptr;
    QAction* m_modifyAction = nullptr;
    QAction* m_loginAction = nullptr;
    QAction* m_exitAction = nullptr;
    QAction* m_aboutAction = nullptr;
};

}  // namespace billing
