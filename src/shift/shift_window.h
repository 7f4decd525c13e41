#pragma once

#include <QDialog>
#include <QList>
#include <optional>

#include "shift/day_sheet.h"
#include "shift/shift_report.h"
#include "store/journal.h"
#include "store/settlement.h"

class QDateEdit;
class QLabel;
class QPushButton;
class QTableWidget;

namespace platform {
struct Services;
}
namespace store {
class Database;
}

namespace shift {

class FiguresPanel;

// 交班: the logged-in cashier's open shift (its figures by payment method and its events, 交班 to
// count the drawer and settle it, 打印 to print it unsettled), the cashier's earlier settlements
// (查看, 重打) and the day's sheet of every cashier, open shifts included.
class ShiftWindow final : public QDialog {
    Q_OBJECT

public:
    ShiftWindow(const platform::Services& services, store::Database& database, QString cashier,
                QWidget* parent = nullptr);

private:
    QWidget* makeOpenShiftPage();
    QWidget* makeSettlementsPage();
    QWidget* makeDaySheetPage();

    void showOpenShift();
    void settle();
    void printOpenShift();
    void findSettlements();
    void viewSettlement();
    void reprintSettlement();
    void showDaySheet();
    void printDaySheet();

    // The settlement's report with its events; none when it cannot be read (the cashier has
    // been told).
    std::optional<ShiftReport> settlementReport(qint64 number);
    std::optional<qint64> selectedSettlement() const;
    void showError(const QString& text);

    const platform::Services& m_services;
    store::Database& m_database;
    QString m_cashier;
    QList<store::JournalEntry> m_openEntries;  // as the window shows them
    QList<store::Settlement> m_settlements;
    DaySheet m_daySheet;

    FiguresPanel* m_openFigures = nullptr;
    QTableWidget* m_openEvents = nullptr;
    QLabel* m_openStatus = nullptr;
    QPushButton* m_settleButton = nullptr;
    QDateEdit* m_firstDay = nullptr;
    QDateEdit* m_lastDay = nullptr;
    QLabel* m_settlementsStatus = nullptr;
    QTableWidget* m_settlementTable = nullptr;
    QDateEdit* m_day = nullptr;
    QTableWidget* m_daySheetTable = nullptr;
    QTableWidget* m_daySheetMethods = nullptr;
};

}  // namespace shift
