#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include "store/settlement.h"
#include "store/shift_figures.h"

namespace shift {

// One line of the day's sheet: a cashier's settlements of the day, or the day's sum.
struct DaySheetLine {
    QString name;  // the cashier, or 全天合计
    int settlements = 0;
    store::ShiftFigures figures;
};

// Every settlement of one day: one line per cashier, in the order of their first settlement
// that day, and the day's sum.
struct DaySheet {
    QDate day;
    QList<DaySheetLine> cashiers;
    DaySheetLine total;
};

inline const QString kDaySheetTitle = QStringLiteral("住院收费日结单");

DaySheet makeDaySheet(const QDate& day, const QList<store::Settlement>& settlements);

// The columns of a line: 收费员, 交班次数, 笔数, 合计, 预交, 补收, 退款, 欠费, 应交现金.
QStringList daySheetColumns();
inline constexpr int kFirstDaySheetNumber = 1;
QStringList daySheetCells(const DaySheetLine& line);

// The sheet as text: title, 日期：…, then the lines, their columns separated by tabs.
QString daySheetText(const DaySheet& sheet);

}  // namespace shift
