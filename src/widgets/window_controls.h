#pragma once

#include <QList>
#include <QStringList>

class QPushButton;
class QTableWidget;
class QWidget;

namespace widgets {

// Controls of the windows that list records (shift, register), each named for tests and screen
// readers by its caption.

QPushButton* makeNamedButton(const QString& caption, QWidget* parent);

// A read-only table of texts with the given column headings, one row per list of cells; the
// rows are selected whole, one at a time. The columns from firstNumber on hold counts and
// amounts, which stand right-aligned. Filling sizes the columns to their cells (fitColumns).
QTableWidget* makeTextTable(const QString& name, const QStringList& columns);
void fillTable(QTableWidget& table, const QList<QStringList>& rows, int firstNumber);

}  // namespace widgets
