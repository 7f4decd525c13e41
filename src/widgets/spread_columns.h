#pragma once

#include <QList>

class QTableView;

namespace widgets {

// Lays a table's columns across the whole width of its view, so that a wide window shows wide
// columns instead of empty room beside them: each column keeps at least its natural width and
// the room left over is shared out in proportion to those widths. Done again whenever the view
// changes width; a view narrower than the natural widths scrolls. The natural widths are given
// in the columns' order, or, when none are given, what each column's heading and cells need.
void spreadColumns(QTableView& table, const QList<int>& naturalWidths = {});

// Sizes each column to its heading and cells; a table whose columns spread spreads them again.
void fitColumns(QTableView& table);

}  // namespace widgets
