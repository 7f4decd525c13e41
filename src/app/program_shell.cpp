#include "app/program_shell.h"

#include <QAction>

#include "about/about_window.h"
#include "app/daily_backup.h"
#include "app/login_window.h"
#include "billing/deposit_deduction.h"
#include "billing/main_window.h"
#include "billing/print_command.h"
#include "deposit/deposit_window.h"
#include "deposit/in_hospital_page.h"
#include "platform/services.h"
#include "register/register_window.h"
#include "shift/shift_window.h"
#include "statistics/statistics_window.h"
#include "store/database.h"

namespace app {

ProgramShell::ProgramShell(const platform::Services& services, store::Database& database,
                           DailyBackup* dailyBackup)
    : m_services(services),
      m_database(database),
      m_dailyBackup(dailyBackup),
      m_mainWindow(std::make_unique<billing::MainWindow>(services.clock)),
      m_deposits(std::make_unique<billing::DepositDeduction>(*m_mainWindow, database)),
      m_modification(std::make_unique<billing::ReceiptModification>(*m_mainWindow, database,
                                                                    m_openDialogs, *m_deposits)),
      m_printCommand(std::make_unique<billing::PrintCommand>(
          *m_mainWindow, database, *m_modification, *m_deposits, services)) {
    billing::MainWindow& window = *m_mainWindow;
    connect(window.statisticsAction(), &QAction::triggered, this, &ProgramShell::showStatistics);
    connect(window.registerAction(), &QAction::triggered, this, &ProgramShell::showRegister);
    connect(window.shiftAction(), &QAction::triggered, this, &ProgramShell::showShift);
    connect(window.depositAction(), &QAction::triggered, this, &ProgramShell::showDeposits);
    connect(window.modifyAction(), &QAction::triggered, this,
            [this] { m_modification->startModification(); });
    connect(window.loginAction(), &QAction::triggered, this, &ProgramShell::logInAgain);
    connect(window.exitAction(), &QAction::triggered, this, &ProgramShell::exitProgram);
    connect(window.aboutAction(), &QAction::triggered, this, &ProgramShell::showAbout);
    connect(&window, &billing::MainWindow::printRequested, this, [this] { m_printCommand->run(); });
    connect(&window, &billing::MainWindow::inpatientNumberLeft, this,
            [this] { m_modification->inpatientNumberLeft(); });
}

ProgramShell::~ProgramShell() = default;

bool ProgramShell::start() {
    if (m_dailyBackup != nullptr) {
        m_dailyBackup->atStart();
    }
    // The billing window shows once a cashier is known, already prepared for a receipt.
    if (!runLoginSequence()) {
        return false;
    }
    m_mainWindow->show();
    m_mainWindow->activateWindow();
    return true;
}

bool ProgramShell::runLoginSequence() {
    QString cashier;
    {
        m_openDialogs.login = true;
        LoginWindow login(m_database, m_services.messageBoxes, m_mainWindow.get());
        login.exec();
        cashier = login.loggedInCashier();
        m_openDialogs.login = false;
    }
    if (cashier.isEmpty()) {
        m_mainWindow->receipt().currentCashier.clear();
        exitProgram();
        return false;
    }
    beginWork(cashier);
    return true;
}

void ProgramShell::beginWork(const QString& cashier) {
    m_mainWindow->receipt().currentCashier = cashier;
    m_mainWindow->setCashierPanel(cashier);
    m_mainWindow->newReceipt();
}

void ProgramShell::logInAgain() {
    runLoginSequence();
}

void ProgramShell::showStatistics() {
    m_openDialogs.statistics = true;
    statistics::StatisticsWindow window(m_services.messageBoxes, m_services.clock, m_database,
                                        m_mainWindow.get());
    window.exec();
    m_openDialogs.statistics = false;
}

// The window only borrows the focus of the inpatient-number box, which loads nothing.
void ProgramShell::showRegister() {
    receipt_register::RegisterWindow window(
        m_services, m_database, m_mainWindow->receipt().currentCashier, m_mainWindow.get());
    window.exec();
}

void ProgramShell::showShift() {
    shift::ShiftWindow window(m_services, m_database, m_mainWindow->receipt().currentCashier,
                              m_mainWindow.get());
    window.exec();
}

// As the register: the window borrows the focus of the inpatient-number box, which loads nothing.
void ProgramShell::showDeposits() {
    deposit::DepositWindow window(m_services, m_database, m_mainWindow->receipt().currentCashier,
                                  m_mainWindow.get());
    window.addPage(new deposit::InHospitalPage(m_services, m_database), QStringLiteral("在院"));
    window.exec();
}

void ProgramShell::showAbout() {
    about::AboutWindow window(m_services.clock, m_services.office, m_mainWindow.get());
    window.exec();
}

void ProgramShell::exitProgram() {
    m_database.closeAll();
    m_mainWindow->hide();
    if (m_dailyBackup != nullptr) {
        m_dailyBackup->atExit();
    }
    emit exitRequested();
}

}  // namespace app
