#pragma once

#include <QString>
#include <optional>

#include "store/receipt_saving.h"

namespace store {
class Database;
}

namespace billing {

class DepositDeduction;
class MainWindow;

// The modal windows whose opening takes the focus away from the inpatient-number box; while
// one of them is open, that focus change is no request to load a receipt.
struct OpenDialogs {
    bool login = false;
    bool statistics = false;
};

// 修改: calls a stored receipt back into the window by its inpatient number, for the cashier
// who issued it; 打印 then rewrites it in place. Leaving the number box for a new receipt reads
// the number's deposits instead.
class ReceiptModification {
public:
    ReceiptModification(MainWindow& window, store::Database& database,
                        const OpenDialogs& openDialogs, DepositDeduction& deposits);

    void startModification();
    void inpatientNumberLeft();
    void loadReceiptForModification();

    // The stored receipt the window holds for correction, as it was loaded; nullptr when none
    // is loaded.
    const store::LoadedReceipt* loadedReceipt() const;

private:
    void refuse(const QString& statusText);

    MainWindow& m_window;
    store::Database& m_database;
    const OpenDialogs& m_openDialogs;
    DepositDeduction& m_deposits;
    std::optional<store::LoadedReceipt> m_loaded;
};

}  // namespace billing
