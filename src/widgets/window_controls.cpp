#include "widgets/window_controls.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

#include "widgets/form_style.h"
#include "widgets/spread_columns.h"

namespace widgets {

QPushButton* makeNamedButton(const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(caption);
    button->setAccessibleName(caption);
    return button;
}

QTableWidget* makeTextTable(const QString& name, const QStringList& columns) {
    auto* table = new QTableWidget(0, static_cast<int>(columns.size()));
    table->setObjectName(name);
    table->setAccessibleName(name);
    table->setFont(formFont());
    table->setHorizontalHeaderLabels(columns);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(20);
    table->horizontalHeader()->setStretchLastSection(false);
    return table;
}

void fillTable(QTableWidget& table, const QList<QStringList>& rows, int firstNumber) {
    table.clearContents();
    table.setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < rows[row].size(); ++column) {
            auto* cell = new QTableWidgetItem(rows[row][column]);
            if (column >= firstNumber) {
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            table.setItem(row, column, cell);
        }
    }
    fitColumns(table);
}

}  // namespace widgets
