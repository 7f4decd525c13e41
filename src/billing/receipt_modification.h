#pragma once

#include <QString>
#include <optional>

#include "store/receipt_saving.h"

namespace billing {
class MainWindow;
}

namespace store {

class Database;

// The modal windows whose opening takes the focus away from the inpatient-number box; while
// one of them is open, that focus change is no request to load a receipt.
struct OpenDialogs {
    bool login = false;
    bool statistics = false;
};

// 修改: calls a stored receipt back into the window by its inpatient number, for the cashier
// who issued it; 打印 then rewrites it in place.
class ReceiptModification {
public:
    ReceiptModification(billing::MainWindow& window, Database& database,
                        const OpenDialogs& openDialogs);

    void startModification();
    void inpatientNumberLeft();
    void loadReceiptForModification();

    // The stored receipt the window holds for correction, as it was loaded; nullptr when none
    // is loaded.
    const LoadedReceipt* loadedReceipt() const;

private:
    void refuse(const QString& statusText);

    billing::MainWindow& m_window;
    Database& m_database;
    const OpenDialogs& m_openDialogs;
    std::optional<LoadedReceipt> m_loaded;
};

}  // namespace store
