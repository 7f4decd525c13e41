#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "store/journal.h"
#include "store/settlement.h"
#include "store/shift_figures.h"

namespace shift {

// One line of the day's sheet: what one shift wrote that day (a row belongs to the day it was
// written, so a night shift's rows fall on two days): a settlement's rows, or a cashier's open
// shift's so far; or a sum of lines.
struct DaySheetLine {
    QString name;           // the cashier, or 全天合计, 其中未交班
    qint64 settlement = 0;  // the settlement that took the rows; 0 for an open shift or a sum
    bool open = false;      // a shift not settled yet
    store::ShiftFigures figures;
    // 长短款 of a settlement made that day; of a sum, the day's; none for the others.
    std::optional<common::Money> difference;
};

// A day of every cashier: one line for each shift that wrote rows that day or was settled that
// day, grouped by cashier in the order of their first row, settlements before the open shift;
// the day's sum and the sum of its open shifts; and each payment method's totals.
struct DaySheet {
    QDate day;
    QList<DaySheetLine> shifts;
    DaySheetLine total;      // 全天合计
    DaySheetLine openTotal;  // 其中未交班: what the day's sum holds of shifts not settled yet
    int openCashiers = 0;    // cashiers with an open shift that day

    bool hasOpenShifts() const { return openCashiers > 0; }
};

inline const QString kDaySheetTitle = QStringLiteral("住院收费日结单");

// The sheet of day from its journal rows (every row written that day) and the settlements made
// that day.
DaySheet makeDaySheet(const QDate& day, const QList<store::JournalEntry>& dayRows,
                      const QList<store::Settlement>& daySettlements);

// The columns of a line: 收费员, 结算号 (未交班 for an open shift), 笔数, 合计, 预交, 补收, 退款,
// 欠费, 收预交金, 退预交金 (the deposits taken and paid back), 应交现金, 长短款.
QStringList daySheetColumns();
inline constexpr int kFirstDaySheetNumber = 2;
QStringList daySheetCells(const DaySheetLine& line);

// 有 N 个收费员未交班, said above the totals when there are open shifts.
QString openShiftsWarning(const DaySheet& sheet);

// The day's totals by payment method (付款方式, 补收, 退款, 合计), then the day's 长短款 in the
// last column of its own row.
QList<QStringList> daySheetMethodRows(const DaySheet& sheet);

// The sheet as text: title, 日期：…, the lines, the warning, the totals, then the methods' table;
// columns separated by tabs.
QString daySheetText(const DaySheet& sheet);

}  // namespace shift
