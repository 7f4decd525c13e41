#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include "store/journal.h"
#include "store/settlement.h"
#include "store/shift_figures.h"

namespace shift {

// A shift as its report shows it: a settlement, or the open shift (number 0), not settled yet.
struct ShiftReport {
    qint64 number = 0;
    QString cashier;
    QString desk;         // where it was settled; for the open shift, the desk showing it
    QDateTime settledAt;  // invalid for the open shift
    store::ShiftFigures figures;
    QList<store::JournalEntry> entries;

    bool isSettled() const { return number != 0; }
};

ShiftReport openShiftReport(const QString& cashier, const QList<store::JournalEntry>& entries);
ShiftReport settlementReport(const store::Settlement& settlement,
                             const QList<store::JournalEntry>& entries);

// One figure of a report as the window, the paper and the text give it: 床位费 and 200元.
struct Figure {
    QString name;
    QString value;
};

inline const QString kReportTitle = QStringLiteral("住院收费交班报表");

// 结算号 (未交班 for the open shift), 收费员, 电脑, 交班时间 (settled only), 首笔时间, 末笔时间.
QList<Figure> headerFigures(const ShiftReport& report);
// The number of events of each kind: 新开 and 3笔.
QList<Figure> countFigures(const store::ShiftFigures& figures);
// The 19 fee lines named as the statistics report names them, then 合计, 预交, 补收, 退款, 欠费
// and 应交现金.
QList<Figure> amountFigures(const store::ShiftFigures& figures);

// What the list of events shows of each, in columns: 时间, 事件, 住院号, 姓名, 合计, 补收, 退款.
QStringList eventColumns();
inline constexpr int kFirstEventAmount = 4;
QStringList eventCells(const store::JournalEntry& entry);

// A date-time as the reports write it: 2026-03-10 09:15:00.
QString reportTime(const QDateTime& time);

// The report as text: the title, one figure a line as "name：value", then the events, one a line,
// their columns separated by tabs.
QString reportText(const ShiftReport& report);

}  // namespace shift
