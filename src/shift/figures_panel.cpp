#include "shift/figures_panel.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>

#include "receipt/fee_category.h"
#include "shift/shift_report.h"
#include "widgets/form_style.h"
#include "widgets/window_controls.h"

namespace shift {

namespace {

constexpr int kFigureColumns = 3;

// The figures of every kind of report, to lay the panel out once for all of them.
ShiftReport everyFigure() {
    ShiftReport report;
    report.number = 1;
    report.drawer = store::DrawerBalance{};
    report.drawer->remark = QStringLiteral("说明");
    return report;
}

// Rows enough for the cash and a few more methods before the table scrolls.
constexpr int kMethodRowsShown = 5;

}  // namespace

FiguresPanel::FiguresPanel(QWidget* parent) : QWidget(parent) {
    setFont(widgets::formFont());
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    int row = 0;
    const auto addGroup = [&](const QList<Figure>& figures) {
        if (row > 0) {
            auto* rule = new QFrame(this);
            rule->setFrameStyle(QFrame::HLine | QFrame::Sunken);
            grid->addWidget(rule, row++, 0, 1, 2 * kFigureColumns);
        }
        for (int index = 0; index < figures.size(); ++index) {
            const QString& name = figures[index].name;
            auto* caption = new QLabel(name + QStringLiteral("："), this);
            auto* value = new QLabel(this);
            value->setObjectName(name);
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            caption->setBuddy(value);
            const int column = 2 * (index % kFigureColumns);
            grid->addWidget(caption, row + index / kFigureColumns, column, Qt::AlignRight);
            grid->addWidget(value, row + index / kFigureColumns, column + 1);
            m_figures.insert(name, {value, caption});
        }
        row += (static_cast<int>(figures.size()) + kFigureColumns - 1) / kFigureColumns;
    };
    const ShiftReport report = everyFigure();
    addGroup(headerFigures(report));
    addGroup(countFigures(report.figures));
    const QList<Figure> amounts = amountFigures(report.figures);
    addGroup(amounts.first(receipt::kFeeCategoryCount));
    addGroup(amounts.sliced(receipt::kFeeCategoryCount));
    addGroup(cashFigures(report));
    // Room to spare goes beside the figures, so that each column of amounts ends at its widest.
    grid->setColumnStretch(2 * kFigureColumns, 1);

    m_methods = widgets::makeTextTable(QStringLiteral("按付款方式"), methodColumns());
    m_methods->setParent(this);
    m_methods->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_methods->setFixedHeight(m_methods->horizontalHeader()->height() +
                              kMethodRowsShown * m_methods->verticalHeader()->defaultSectionSize() +
                              2 * m_methods->frameWidth());
    auto* beside = new QHBoxLayout(this);
    beside->setContentsMargins(0, 0, 0, 0);
    beside->addLayout(grid, 1);
    beside->addWidget(m_methods, 0, Qt::AlignTop);
}

void FiguresPanel::showReport(const ShiftReport& report) {
    for (const auto& [value, caption] : std::as_const(m_figures)) {
        value->hide();
        caption->hide();
    }
    for (const QList<Figure>& figures : {headerFigures(report), countFigures(report.figures),
                                         amountFigures(report.figures), cashFigures(report)}) {
        for (const Figure& figure : figures) {
            const auto [value, caption] = m_figures.value(figure.name);
            if (value == nullptr) {
                continue;
            }
            value->setText(figure.value);
            value->setAlignment((figure.isAmount ? Qt::AlignRight : Qt::AlignLeft) |
                                Qt::AlignVCenter);
            value->setAccessibleName(figure.name + QStringLiteral("：") + figure.value);
            value->show();
            caption->show();
        }
    }
    widgets::fillTable(*m_methods, methodRows(report.figures), kFirstMethodAmount);
    // Wide enough for every column: a method's amounts are read across, never scrolled to.
    m_methods->setFixedWidth(m_methods->horizontalHeader()->length() + 2 * m_methods->frameWidth() +
                             m_methods->verticalScrollBar()->sizeHint().width());
}

}  // namespace shift
