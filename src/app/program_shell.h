#pragma once

#include <QObject>
#include <memory>

#include "billing/receipt_modification.h"

namespace billing {
class DepositDeduction;
class MainWindow;
class PrintCommand;
}  // namespace billing
namespace platform {
struct Services;
}
namespace store {
class Database;
}

namespace app {

class DailyBackup;

// Ties the windows together from start to exit: the billing window, the cashier login, the
// menu commands and the end of the program.
class ProgramShell final : public QObject {
    Q_OBJECT

public:
    // dailyBackup, when given, makes the day's copy of the database at the start and at the end.
    ProgramShell(const platform::Services& services, store::Database& database,
                 DailyBackup* dailyBackup = nullptr);
    ~ProgramShell() override;

    // Asks for a cashier, then shows the billing window. False when the login was abandoned,
    // which ends the program before it starts working.
    bool start();

    // What follows a successful login: the cashier in the status line and an empty receipt.
    void beginWork(const QString& cashier);

    billing::MainWindow& mainWindow() { return *m_mainWindow; }

signals:
    // The program is to end: 退出 in the menu, or a login abandoned.
    void exitRequested();

private:
    bool runLoginSequence();
    void logInAgain();
    void showStatistics();
    void showRegister();
    void showShift();
    void showDeposits();
    void showAbout();
    void exitProgram();

    const platform::Services& m_services;
    store::Database& m_database;
    DailyBackup* m_dailyBackup;
    std::unique_ptr<billing::MainWindow> m_mainWindow;
    billing::OpenDialogs m_openDialogs;
    std::unique_ptr<billing::DepositDeduction> m_deposits;
    std::unique_ptr<billing::ReceiptModification> m_modification;
    std::unique_ptr<billing::PrintCommand> m_printCommand;
};

}  // namespace app
