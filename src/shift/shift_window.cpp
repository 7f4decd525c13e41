#include "shift/shift_window.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/clock.h"
#include "platform/services.h"
#include "shift/drawer_count_dialog.h"
#include "shift/figures_panel.h"
#include "shift/report_pages.h"
#include "shift/report_printing.h"
#include "shift/report_window.h"
#include "shift/settlement_list.h"
#include "widgets/controls.h"
#include "widgets/date_range_shortcuts.h"
#include "widgets/form_style.h"
#include "widgets/message_boxes.h"
#include "widgets/spread_columns.h"
#include "widgets/window_controls.h"

namespace shift {

namespace {

const QString kTitle = QStringLiteral("交班");
constexpr QSize kFirstSize{860, 700};

// Read out as what it says: no accessible name of its own.
QLabel* makeStatusLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    return label;
}

QDateEdit* makeNamedDateBox(const QString& name, const QDate& date, QWidget* parent) {
    QDateEdit* box = widgets::makeDateBox(parent, name, {});
    box->setAccessibleName(name);
    box->setDate(date);
    return box;
}

QLabel* makeCaption(const QString& caption, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}

QString settledMessage(const store::SettleResult& settled, qsizetype stillOpen) {
    QString text = QStringLiteral("交班完成，结算号为 %1。").arg(settled.number);
    if (stillOpen > 0) {
        text += QStringLiteral("\n交班时另一台电脑又记下了您的 %1 笔记录，它们留在下一班。")
                    .arg(stillOpen);
    }
    return text + QStringLiteral("\n现在打印交班报表吗？");
}

}  // namespace

ShiftWindow::ShiftWindow(const platform::Services& services, store::Database& database,
                         QString cashier, QWidget* parent)
    : QDialog(parent), m_services(services), m_database(database), m_cashier(std::move(cashier)) {
    setWindowTitle(kTitle);
    setFont(widgets::formFont());
    auto* pages = new QTabWidget(this);
    pages->addTab(makeOpenShiftPage(), QStringLiteral("本班"));
    pages->addTab(makeSettlementsPage(), QStringLiteral("历次交班"));
    pages->addTab(makeDaySheetPage(), QStringLiteral("日结单"));
    QPushButton* close = widgets::makeNamedButton(QStringLiteral("关闭"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages, 1);
    layout->addLayout(buttons);
    // Wide enough for the figures and the table of methods beside them.
    widgets::placeWindow(*this, kFirstSize);
    // Larger on a wide screen, the tables' columns with it.
    setMinimumSize(kFirstSize);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setSizeGripEnabled(true);

    showOpenShift();
    findSettlements();
    showDaySheet();
}

QWidget* ShiftWindow::makeOpenShiftPage() {
    auto* page = new QWidget;
    m_openFigures = new FiguresPanel(page);
    m_openEvents = widgets::makeTextTable(QStringLiteral("本班记录"), eventColumns());
    widgets::spreadColumns(*m_openEvents);
    m_openStatus = makeStatusLabel(QStringLiteral("本班提示"), page);
    m_settleButton = widgets::makeNamedButton(QStringLiteral("交班"), page);
    QPushButton* print = widgets::makeNamedButton(QStringLiteral("打印"), page);
    connect(m_settleButton, &QPushButton::clicked, this, &ShiftWindow::settle);
    connect(print, &QPushButton::clicked, this, &ShiftWindow::printOpenShift);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_openStatus, 1);
    buttons->addWidget(m_settleButton);
    buttons->addWidget(print);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_openFigures);
    layout->addWidget(m_openEvents, 1);
    layout->addLayout(buttons);
    return page;
}

QWidget* ShiftWindow::makeSettlementsPage() {
    auto* page = new QWidget;
    const QDate today = m_services.clock.now().date();
    m_firstDay = makeNamedDateBox(QStringLiteral("从"), today.addDays(-today.day() + 1), page);
    m_lastDay = makeNamedDateBox(QStringLiteral("至"), today, page);
    QPushButton* find = widgets::makeNamedButton(QStringLiteral("查找"), page);
    m_settlementsStatus = makeStatusLabel(QStringLiteral("历次交班提示"), page);
    m_settlementTable = widgets::makeTextTable(QStringLiteral("历次交班"), settlementColumns());
    widgets::spreadColumns(*m_settlementTable);
    QPushButton* view = widgets::makeNamedButton(QStringLiteral("查看"), page);
    QPushButton* reprint = widgets::makeNamedButton(QStringLiteral("重打"), page);
    connect(find, &QPushButton::clicked, this, &ShiftWindow::findSettlements);
    connect(view, &QPushButton::clicked, this, &ShiftWindow::viewSettlement);
    connect(m_settlementTable, &QTableWidget::cellDoubleClicked, this,
            &ShiftWindow::viewSettlement);
    connect(reprint, &QPushButton::clicked, this, &ShiftWindow::reprintSettlement);

    auto* filter = new QHBoxLayout;
    filter->addWidget(makeCaption(QStringLiteral("交班日期从"), m_firstDay, page));
    filter->addWidget(m_firstDay);
    filter->addWidget(makeCaption(QStringLiteral("至"), m_lastDay, page));
    filter->addWidget(m_lastDay);
    filter->addWidget(find);
    for (QPushButton* shortcut : widgets::makeRangeShortcuts(
             *m_firstDay, *m_lastDay, today, [this] { findSettlements(); }, page)) {
        filter->addWidget(shortcut);
    }
    filter->addWidget(m_settlementsStatus, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(view);
    buttons->addWidget(reprint);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(filter);
    layout->addWidget(m_settlementTable, 1);
    layout->addLayout(buttons);
    return page;
}

QWidget* ShiftWindow::makeDaySheetPage() {
    auto* page = new QWidget;
    m_day = makeNamedDateBox(QStringLiteral("日期"), m_services.clock.now().date(), page);
    m_daySheetTable = widgets::makeTextTable(QStringLiteral("日结单"), daySheetColumns());
    m_daySheetMethods = widgets::makeTextTable(QStringLiteral("按付款方式合计"), methodColumns());
    for (QTableWidget* table : {m_daySheetTable, m_daySheetMethods}) {
        widgets::spreadColumns(*table);
    }
    QPushButton* print = widgets::makeNamedButton(QStringLiteral("打印日结单"), page);
    connect(m_day, &QDateEdit::dateChanged, this, &ShiftWindow::showDaySheet);
    connect(print, &QPushButton::clicked, this, &ShiftWindow::printDaySheet);

    auto* filter = new QHBoxLayout;
    filter->addWidget(makeCaption(QStringLiteral("日期"), m_day, page));
    filter->addWidget(m_day);
    filter->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(print);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(filter);
    layout->addWidget(m_daySheetTable, 2);
    layout->addWidget(m_daySheetMethods, 1);
    layout->addLayout(buttons);
    return page;
}

void ShiftWindow::showOpenShift() {
    QList<store::JournalEntry> entries;
    QString error;
    const bool read = store::readOpenEntries(m_database, m_cashier, &entries, &error);
    if (!read) {
        showError(error);
    }
    m_openEntries = entries;
    m_openFigures->showReport(openShiftReport(m_cashier, m_openEntries, m_services.cashFloat));
    QList<QStringList> rows;
    for (const store::JournalEntry& entry : m_openEntries) {
        rows.append(eventCells(entry));
    }
    widgets::fillTable(*m_openEvents, rows, kFirstEventAmount);
    m_settleButton->setEnabled(!m_openEntries.isEmpty());
    m_openStatus->setText(!read ? QStringLiteral("读不出本班的记录，不能交班。")
                          : m_openEntries.isEmpty()
                              ? QStringLiteral("收费员%1没有未交班的记录。").arg(m_cashier)
                              : QString());
}

void ShiftWindow::settle() {
    DrawerCountDialog counting(store::sumEntries(m_openEntries), m_services.cashFloat, this);
    if (counting.exec() != QDialog::Accepted) {
        return;
    }
    const store::SettleResult settled =
        store::settleShift(m_database, m_cashier, m_openEntries, counting.count());
    switch (settled.outcome) {
        case store::SettleOutcome::Settled: {
            showOpenShift();
            findSettlements();
            showDaySheet();
            const widgets::Message done{settledMessage(settled, m_openEntries.size()), kTitle,
                                        widgets::MessageButtons::OkCancel,
                                        widgets::MessageIcon::Information, QStringLiteral("打印")};
            if (m_services.messageBoxes.show(this, done) == widgets::MessageAnswer::Ok) {
                if (const std::optional<ShiftReport> report = settlementReport(settled.number)) {
                    printShiftReport(m_services, this, *report);
                }
            }
            return;
        }
        case store::SettleOutcome::Empty:
            showError(QStringLiteral("本班没有记录，不需要交班。"));
            break;
        case store::SettleOutcome::BadCount:
            showError(QStringLiteral("没有交班。") + countProblemText(settled.problem));
            break;
        case store::SettleOutcome::TakenElsewhere:
            showError(
                QStringLiteral("本班的记录已在另一台电脑上交班，这次没有交班。\n"
                               "窗口里现在是重新读出的本班记录。"));
            break;
        case store::SettleOutcome::Failed:
            showError(QStringLiteral("没有交班。\n") + settled.error);
            break;
        case store::SettleOutcome::Uncertain:
            showError(QStringLiteral("与数据库的连接在交班时断开，不知道交班是否已经完成。"
                                     "请在“历次交班”中查看。\n") +
                      settled.error);
            break;
    }
    showOpenShift();
    findSettlements();
}

void ShiftWindow::printOpenShift() {
    printShiftReport(m_services, this,
                     openShiftReport(m_cashier, m_openEntries, m_services.cashFloat));
}

void ShiftWindow::findSettlements() {
    if (m_firstDay->date() > m_lastDay->date()) {
        m_settlementsStatus->setText(QStringLiteral("日期输入错误！"));
        return;
    }
    m_settlements.clear();
    QString error;
    if (!store::readSettlements(m_database, {m_cashier, m_firstDay->date(), m_lastDay->date()},
                                &m_settlements, &error)) {
        showError(error);
    }
    QList<QStringList> rows;
    for (const store::Settlement& settlement : m_settlements) {
        rows.append(settlementCells(settlement));
    }
    widgets::fillTable(*m_settlementTable, rows, kFirstSettlementNumber);
    m_settlementsStatus->setText(QStringLiteral("共%1次交班").arg(m_settlements.size()));
}

std::optional<qint64> ShiftWindow::selectedSettlement() const {
    const int row = m_settlementTable->currentRow();
    if (row < 0 || row >= m_settlements.size()) {
        return std::nullopt;
    }
    return m_settlements[row].number;
}

std::optional<ShiftReport> ShiftWindow::settlementReport(qint64 number) {
    std::optional<store::Settlement> settlement;
    QList<store::JournalEntry> entries;
    QString error;
    if (!store::readSettlement(m_database, number, &settlement, &error) ||
        !store::readSettledEntries(m_database, number, &entries, &error)) {
        showError(error);
        return std::nullopt;
    }
    if (!settlement) {
        showError(QStringLiteral("没有结算号为 %1 的交班。").arg(number));
        return std::nullopt;
    }
    return shift::settlementReport(*settlement, entries);
}

void ShiftWindow::viewSettlement() {
    const std::optional<qint64> number = selectedSettlement();
    if (!number) {
        m_settlementsStatus->setText(QStringLiteral("请先选中一次交班。"));
        return;
    }
    if (const std::optional<ShiftReport> report = settlementReport(*number)) {
        ReportWindow window(m_services, *report, this);
        window.exec();
    }
}

void ShiftWindow::reprintSettlement() {
    const std::optional<qint64> number = selectedSettlement();
    if (!number) {
        m_settlementsStatus->setText(QStringLiteral("请先选中一次交班。"));
        return;
    }
    if (const std::optional<ShiftReport> report = settlementReport(*number)) {
        printShiftReport(m_services, this, *report);
    }
}

void ShiftWindow::showDaySheet() {
    const QDate day = m_day->date();
    QList<store::JournalEntry> rows;
    QList<store::Settlement> settlements;
    QString error;
    // A sheet that misses some of the day would read as complete: a failed read shows nothing.
    if (!store::readDayEntries(m_database, day, &rows, &error) ||
        !store::readSettlements(m_database, {{}, day, day}, &settlements, &error)) {
        showError(error);
        rows.clear();
        settlements.clear();
    }
    m_daySheet = makeDaySheet(day, rows, settlements);
    QList<QStringList> lines;
    for (const DaySheetLine& line : m_daySheet.shifts) {
        lines.append(daySheetCells(line));
    }
    const int warningRow = static_cast<int>(lines.size());
    if (m_daySheet.hasOpenShifts()) {
        lines.append({openShiftsWarning(m_daySheet)});
    }
    const int firstTotal = static_cast<int>(lines.size());
    lines.append(daySheetCells(m_daySheet.total));
    if (m_daySheet.hasOpenShifts()) {
        lines.append(daySheetCells(m_daySheet.openTotal));
    }
    m_daySheetTable->clearSpans();
    widgets::fillTable(*m_daySheetTable, lines, kFirstDaySheetNumber);
    if (m_daySheet.hasOpenShifts()) {
        QTableWidgetItem* warning = m_daySheetTable->item(warningRow, 0);
        warning->setForeground(Qt::red);
        m_daySheetTable->setSpan(warningRow, 0, 1, m_daySheetTable->columnCount());
    }
    QFont bold = m_daySheetTable->font();
    bold.setBold(true);
    for (int row = firstTotal; row < m_daySheetTable->rowCount(); ++row) {
        for (int column = 0; column < m_daySheetTable->columnCount(); ++column) {
            m_daySheetTable->item(row, column)->setFont(bold);
        }
    }
    widgets::fitColumns(*m_daySheetTable);
    widgets::fillTable(*m_daySheetMethods, daySheetMethodRows(m_daySheet), kFirstMethodAmount);
}

void ShiftWindow::printDaySheet() {
    printReport(m_services, this, QStringLiteral("日结单"),
                QStringLiteral("日结单-") + m_daySheet.day.toString(QStringLiteral("yyyyMMdd")),
                daySheetPages(m_daySheet, m_services.office));
}

void ShiftWindow::showError(const QString& text) {
    m_services.messageBoxes.show(this, widgets::errorMessage(text));
}

}  // namespace shift
