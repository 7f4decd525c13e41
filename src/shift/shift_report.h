#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

#include "store/drawer_count.h"
#include "store/journal.h"
#include "store/settlement.h"
#include "store/shift_figures.h"

namespace shift {

// A shift as its report shows it: a settlement, or the open shift (number 0), not settled yet.
struct ShiftReport {
    qint64 number = 0;
    QString cashier;
    QString desk;                 // where it was settled; for the open shift, the desk showing it
    QDateTime settledAt;          // invalid for the open shift
    store::ShiftFigures figures;  // with each payment method's amounts
    QList<store::JournalEntry> entries;
    // The float the open shift's drawer started with, as this desk sets it.
    common::Money cashFloat;
    // The drawer as counted at the handover; none for the open shift and for a shift settled
    // before drawers were counted.
    std::optional<store::DrawerBalance> drawer;

    bool isSettled() const { return number != 0; }
};

ShiftReport openShiftReport(const QString& cashier, const QList<store::JournalEntry>& entries,
                            common::Money cashFloat);
ShiftReport settlementReport(const store::Settlement& settlement,
                             const QList<store::JournalEntry>& entries);

// One figure of a report as the window, the paper and the text give it: 床位费 and 200.00元.
struct Figure {
    QString name;
    QString value;
    bool isAmount = false;  // an amount of money, which a window lines up at the right
};

inline const QString kReportTitle = QStringLiteral("住院收费交班报表");
// The deposits a shift took and paid back, as its lines and columns name them.
inline const QString kDepositsTakenName = QStringLiteral("预交金收取");
inline const QString kDepositsRefundedName = QStringLiteral("预交金退还");

// 结算号 (未交班 for the open shift), 收费员, 电脑, 交班时间 (settled only), 首笔时间, 末笔时间.
QList<Figure> headerFigures(const ShiftReport& report);
// The number of events of each kind: 新开 and 3笔, then the deposits taken (收预交金) and paid
// back (退预交金).
QList<Figure> countFigures(const store::ShiftFigures& figures);
// The 19 fee lines named as the statistics report names them, then 合计, 预交, 补收, 退款, 欠费,
// 预交金收取 and 预交金退还.
QList<Figure> amountFigures(const store::ShiftFigures& figures);
// The cash the drawer hands over: 备用金, 应交现金 in figures and in capitals, 应有现金, and as
// counted 实点现金, 长短款 (长款 0.10元, 短款 0.10元), 长短款说明 and 点钞明细; for the open shift
// 实点现金 is 未点钞, for a shift settled before drawers were counted 交班时没有点钞.
QList<Figure> cashFigures(const ShiftReport& report);

// Each payment method's amounts, 现金 first, then in the order the methods were first used:
// 付款方式, 预交金收取, 预交金退还, 补收, 退款, 合计 (what it took less what it paid out).
QStringList methodColumns();
inline constexpr int kFirstMethodAmount = 1;
QList<QStringList> methodRows(const store::ShiftFigures& figures);

// An amount with its unit: 30.50元.
QString yuanText(common::Money amount);
// 长款 0.10元, 短款 0.10元 or 0.00元.
QString differenceText(common::Money difference);

// What the list of events shows of each, in columns: 时间, 事件, 住院号, 姓名, 付款方式, 合计,
// 补收, 退款; a deposit's 合计 is its amount (less than 0 when paid back).
QStringList eventColumns();
inline constexpr int kFirstEventAmount = 5;
QStringList eventCells(const store::JournalEntry& entry);

// A date-time as the reports write it: 2026-03-10 09:15:00.
QString reportTime(const QDateTime& time);

// The report as text: the title, one figure a line as "name：value", the methods' table, then
// the events, one a line, their columns separated by tabs.
QString reportText(const ShiftReport& report);

}  // namespace shift
