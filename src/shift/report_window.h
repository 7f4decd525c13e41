#pragma once

#include <QDialog>

#include "shift/shift_report.h"

namespace platform {
struct Services;
}

namespace shift {

class FiguresPanel;

// A settled shift's report on screen, read-only: its figures and its events, with 打印 to print
// it again and 关闭.
class ReportWindow final : public QDialog {
    Q_OBJECT

public:
    ReportWindow(const platform::Services& services, ShiftReport report, QWidget* parent = nullptr);

private:
    const platform::Services& m_services;
    ShiftReport m_report;
};

// The report's document name, which names its print job and PDF copy: 交班报表-12, or
// 交班报表-未交班-<cashier> for the open shift.
QString reportDocumentName(const ShiftReport& report);

// Prints the report through the desk's printer, telling the cashier where it went when that
// needs telling.
void printShiftReport(const platform::Services& services, QWidget* parent,
                      const ShiftReport& report);

}  // namespace shift
