#include "shift/day_sheet.h"

#include <algorithm>
#include <tuple>

#include "common/money_text.h"
#include "shift/shift_report.h"
#include "store/schema.h"

namespace shift {

namespace {

const QString kDifferenceName = QStringLiteral("长短款");

DaySheetLine& lineOf(QList<DaySheetLine>& lines, const QString& cashier, qint64 settlement) {
    for (DaySheetLine& line : lines) {
        if (line.name == cashier && line.settlement == settlement) {
            return line;
        }
    }
    lines.append({cashier, settlement, settlement == 0, {}, std::nullopt});
    return lines.last();
}

}  // namespace

DaySheet makeDaySheet(const QDate& day, const QList<store::JournalEntry>& dayRows,
                      const QList<store::Settlement>& daySettlements) {
    DaySheet sheet{day,
                   {},
                   {QStringLiteral("全天合计"), 0, false, {}, common::Money()},
                   {QStringLiteral("其中未交班"), 0, false, {}, std::nullopt},
                   0};
    QStringList cashiers;  // in the order of their first row
    for (const store::JournalEntry& row : dayRows) {
        if (!cashiers.contains(row.cashier)) {
            cashiers.append(row.cashier);
        }
        lineOf(sheet.shifts, row.cashier, row.settlement).figures.add(row);
    }
    for (const store::Settlement& settlement : daySettlements) {
        if (!cashiers.contains(settlement.cashier)) {
            cashiers.append(settlement.cashier);
        }
        if (settlement.drawer) {
            lineOf(sheet.shifts, settlement.cashier, settlement.number).difference =
                settlement.drawer->difference;
            *sheet.total.difference += settlement.drawer->difference;
        } else {
            lineOf(sheet.shifts, settlement.cashier, settlement.number);
        }
    }
    // A cashier's settlements in their order, then the shift still open.
    std::stable_sort(sheet.shifts.begin(), sheet.shifts.end(),
                     [&](const DaySheetLine& a, const DaySheetLine& b) {
                         const auto key = [&](const DaySheetLine& line) {
                             return std::tuple(cashiers.indexOf(line.name), line.open,
                                               line.settlement);
                         };
                         return key(a) < key(b);
                     });
    for (const DaySheetLine& line : sheet.shifts) {
        sheet.total.figures.add(line.figures);
        if (line.open) {
            sheet.openTotal.figures.add(line.figures);
            ++sheet.openCashiers;
        }
    }
    return sheet;
}

QStringList daySheetColumns() {
    return {QStringLiteral("收费员"),   QStringLiteral("结算号"),   QStringLiteral("笔数"),
            QStringLiteral("合计"),     QStringLiteral("预交"),     QStringLiteral("补收"),
            QStringLiteral("退款"),     QStringLiteral("欠费"),     QStringLiteral("收预交金"),
            QStringLiteral("退预交金"), QStringLiteral("应交现金"), kDifferenceName};
}

QStringList daySheetCells(const DaySheetLine& line) {
    QString number;
    if (line.settlement != 0) {
        number = QString::number(line.settlement);
    } else if (line.open) {
        number = QStringLiteral("未交班");
    }
    QStringList cells{line.name, number, QString::number(line.figures.totalEvents())};
    for (const QStringView field :
         {store::kTotalField, store::kPrepaidField, store::kSupplementField, store::kRefundField,
          store::kArrearsField}) {
        cells.append(common::moneyText(line.figures.amount(field)));
    }
    cells.append(common::moneyText(line.figures.depositsTaken));
    cells.append(common::moneyText(line.figures.depositsRefunded));
    cells.append(common::moneyText(line.figures.cashDue()));
    cells.append(line.difference ? common::moneyText(*line.difference) : QString());
    return cells;
}

QString openShiftsWarning(const DaySheet& sheet) {
    return sheet.hasOpenShifts() ? QStringLiteral("有 %1 个收费员未交班，未交班的款项已计入合计。")
                                       .arg(sheet.openCashiers)
                                 : QString();
}

QList<QStringList> daySheetMethodRows(const DaySheet& sheet) {
    QList<QStringList> rows = methodRows(sheet.total.figures);
    QStringList difference(methodColumns().size());
    difference.first() = kDifferenceName;
    difference.last() = common::moneyText(*sheet.total.difference);
    rows.append(difference);
    return rows;
}

QString daySheetText(const DaySheet& sheet) {
    QStringList lines{kDaySheetTitle, QStringLiteral("日期：") + sheet.day.toString(Qt::ISODate),
                      daySheetColumns().join(u'\t')};
    for (const DaySheetLine& line : sheet.shifts) {
        lines.append(daySheetCells(line).join(u'\t'));
    }
    if (sheet.hasOpenShifts()) {
        lines.append(openShiftsWarning(sheet));
    }
    lines.append(daySheetCells(sheet.total).join(u'\t'));
    if (sheet.hasOpenShifts()) {
        lines.append(daySheetCells(sheet.openTotal).join(u'\t'));
    }
    lines.append(QString());
    lines.append(methodColumns().join(u'\t'));
    for (const QStringList& row : daySheetMethodRows(sheet)) {
        lines.append(row.join(u'\t'));
    }
    return lines.join(u'\n') + u'\n';
}

}  // namespace shift
