#include "widgets/spread_columns.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTableWidget>
#include <numeric>

#include "support/qt_printers.h"
#include "widgets/window_controls.h"

namespace {

QList<int> columnWidths(const QTableView& table) {
    QList<int> widths;
    for (int column = 0; column < table.model()->columnCount(); ++column) {
        widths.append(table.columnWidth(column));
    }
    return widths;
}

int sum(const QList<int>& widths) {
    return std::accumulate(widths.begin(), widths.end(), 0);
}

// A wide window's table is filled edge to edge, each column in proportion to what it needs; a
// narrow one keeps what the columns need and scrolls; a refill fits the new cells.
TEST(SpreadColumns, FillTheViewsWidthAndNeverCutACell) {
    QTableWidget* table = widgets::makeTextTable(QStringLiteral("本班记录"),
                                                 {QStringLiteral("时间"), QStringLiteral("合计")});
    std::unique_ptr<QTableWidget> owner(table);
    widgets::spreadColumns(*table);
    widgets::fillTable(*table, {{QStringLiteral("2026-03-10 08:00:00"), QStringLiteral("1.00")}},
                       1);
    // Too narrow for the columns: each keeps what its cells need.
    table->resize(60, 200);
    table->show();
    const QList<int> natural = columnWidths(*table);
    EXPECT_GT(natural[0], natural[1]);

    for (const int width : {800, 1600}) {
        SCOPED_TRACE(width);
        table->resize(width, 200);
        const QList<int> widths = columnWidths(*table);
        EXPECT_EQ(sum(widths), table->viewport()->width()) << "edge to edge";
        for (int column = 0; column < widths.size(); ++column) {
            EXPECT_GT(widths[column], natural[column]) << column;
        }
    }

    // Refilled with a longer amount, the amounts' column takes the larger share.
    widgets::fillTable(*table, {{QStringLiteral("2026"), QStringLiteral("123456789012345.00")}}, 1);
    const QList<int> refilled = columnWidths(*table);
    EXPECT_EQ(sum(refilled), table->viewport()->width());
    EXPECT_GT(refilled[1], refilled[0]);
}

}  // namespace
