#include "shift/day_sheet.h"

#include "common/number_text.h"
#include "store/schema.h"

namespace shift {

DaySheet makeDaySheet(const QDate& day, const QList<store::Settlement>& settlements) {
    DaySheet sheet{day, {}, {QStringLiteral("全天合计"), 0, {}}};
    for (const store::Settlement& settlement : settlements) {
        auto line = std::find_if(
            sheet.cashiers.begin(), sheet.cashiers.end(),
            [&](const DaySheetLine& known) { return known.name == settlement.cashier; });
        if (line == sheet.cashiers.end()) {
            sheet.cashiers.append({settlement.cashier, 0, {}});
            line = sheet.cashiers.end() - 1;
        }
        for (DaySheetLine* taking : {&*line, &sheet.total}) {
            ++taking->settlements;
            taking->figures.add(settlement.figures);
        }
    }
    return sheet;
}

QStringList daySheetColumns() {
    return {QStringLiteral("收费员"), QStringLiteral("交班次数"), QStringLiteral("笔数"),
            QStringLiteral("合计"),   QStringLiteral("预交"),     QStringLiteral("补收"),
            QStringLiteral("退款"),   QStringLiteral("欠费"),     QStringLiteral("应交现金")};
}

QStringList daySheetCells(const DaySheetLine& line) {
    QStringList cells{line.name, QString::number(line.settlements),
                      QString::number(line.figures.totalEvents())};
    for (const QStringView field :
         {store::kTotalField, store::kPrepaidField, store::kSupplementField, store::kRefundField,
          store::kArrearsField}) {
        cells.append(common::numberToText(line.figures.amount(field)));
    }
    cells.append(common::numberToText(line.figures.cashDue()));
    return cells;
}

QString daySheetText(const DaySheet& sheet) {
    QStringList lines{kDaySheetTitle, QStringLiteral("日期：") + sheet.day.toString(Qt::ISODate),
                      daySheetColumns().join(u'\t')};
    for (const DaySheetLine& line : sheet.cashiers) {
        lines.append(daySheetCells(line).join(u'\t'));
    }
    lines.append(daySheetCells(sheet.total).join(u'\t'));
    return lines.join(u'\n') + u'\n';
}

}  // namespace shift
