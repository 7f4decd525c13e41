#pragma once

#include <QString>
#include <optional>

#include "storage/storage_engine.h"
#include "store/journal.h"

namespace platform {
struct Services;
}
namespace store {
class Database;
}

namespace billing {

class DepositDeduction;
class MainWindow;
class ReceiptModification;

// 打印: brings the totals up to date, checks that the receipt may be issued, asks for blank
// paper, stores the receipt and prints it from the stored record. Nothing is printed that was
// not stored, and a receipt that could not be stored stays in the window as typed.
class PrintCommand {
public:
    PrintCommand(MainWindow& window, store::Database& database,
                 const ReceiptModification& modification, DepositDeduction& deposits,
                 const platform::Services& services);

    void run();

private:
    // Whether a receipt with the window's inpatient number is stored, with its cashier in
    // *issuer; false in *ok when the table could not be read (the cashier has been told).
    bool isAlreadyStored(bool* ok, QString* issuer);
    QString withIssue(const QString& refusal, const QString& issuer) const;
    // Asks for blank paper and, in the same box, how each amount that changes hands is paid
    // (the receipt's 补收 and 退款, or a correction's change of them), 现金 offered first.
    bool confirmBlankPaper(store::EventMethods* methods);
    // The record that now holds the receipt; none when nothing was stored (the cashier has been
    // told why).
    std::optional<storage::RecordId> saveReceipt(const store::EventMethods& methods);
    void printReceipt(storage::RecordId recordId);
    void showError(const QString& text);

    MainWindow& m_window;
    store::Database& m_database;
    const ReceiptModification& m_modification;
    DepositDeduction& m_deposits;
    const platform::Services& m_services;
};

}  // namespace billing
