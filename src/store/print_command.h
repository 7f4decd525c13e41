#pragma once

#include <QString>

namespace billing {
class MainWindow;
}
namespace platform {
struct Services;
}

namespace store {

class Database;

// 打印: brings the totals up to date, checks that the receipt may be issued, asks for blank
// paper, stores the receipt and prints it from the stored record. Nothing is printed that was
// not stored, and a receipt that could not be stored stays in the window as typed.
class PrintCommand {
public:
    PrintCommand(billing::MainWindow& window, Database& database,
                 const platform::Services& services);

    void run();

private:
    // Whether a receipt with the window's inpatient number is stored; false in *ok when the
    // table could not be read (the cashier has been told).
    bool isAlreadyStored(bool* ok);
    bool confirmBlankPaper();
    bool saveReceipt();
    void printReceipt();
    void showError(const QString& text);

    billing::MainWindow& m_window;
    Database& m_database;
    const platform::Services& m_services;
};

}  // namespace store
