#include "shift/report_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/services.h"
#include "shift/figures_panel.h"
#include "shift/report_pages.h"
#include "shift/report_printing.h"
#include "widgets/spread_columns.h"
#include "widgets/window_controls.h"

namespace shift {

QString reportDocumentName(const ShiftReport& report) {
    return report.isSettled() ? QStringLiteral("交班报表-%1").arg(report.number)
                              : QStringLiteral("交班报表-未交班-%1").arg(report.cashier);
}

void printShiftReport(const platform::Services& services, QWidget* parent,
                      const ShiftReport& report) {
    printReport(services, parent, QStringLiteral("交班报表"), reportDocumentName(report),
                shiftReportPages(report, services.office));
}

ReportWindow::ReportWindow(const platform::Services& services, ShiftReport report, QWidget* parent)
    : QDialog(parent), m_services(services), m_report(std::move(report)) {
    setWindowTitle(QStringLiteral("交班报表 %1").arg(m_report.number));
    auto* figures = new FiguresPanel(this);
    figures->showReport(m_report);
    QTableWidget* events = widgets::makeTextTable(QStringLiteral("交班记录"), eventColumns());
    widgets::spreadColumns(*events);
    QList<QStringList> rows;
    for (const store::JournalEntry& entry : m_report.entries) {
        rows.append(eventCells(entry));
    }
    widgets::fillTable(*events, rows, kFirstEventAmount);
    QPushButton* print = widgets::makeNamedButton(QStringLiteral("打印"), this);
    QPushButton* close = widgets::makeNamedButton(QStringLiteral("关闭"), this);
    connect(print, &QPushButton::clicked, this,
            [this] { printShiftReport(m_services, this, m_report); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(print);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(figures);
    layout->addWidget(events, 1);
    layout->addLayout(buttons);
    resize(760, 640);
}

}  // namespace shift
