#pragma once

#include <QString>

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

private:
    void refuse(const QString& statusText);

    billing::MainWindow& m_window;
    Database& m_database;
    const OpenDialogs& m_openDialogs;
};

}  // namespace store
