#include "shift/settlement_list.h"

#include "common/money_text.h"
#include "shift/shift_report.h"
#include "store/schema.h"

namespace shift {

QStringList settlementColumns() {
    return {QStringLiteral("结算号"), QStringLiteral("交班时间"), QStringLiteral("收费员"),
            QStringLiteral("电脑"),   QStringLiteral("笔数"),     QStringLiteral("合计"),
            QStringLiteral("补收"),   QStringLiteral("退款"),     QStringLiteral("应交现金"),
            QStringLiteral("长短款")};
}

QStringList settlementCells(const store::Settlement& settlement) {
    const store::ShiftFigures& figures = settlement.figures;
    return {QString::number(settlement.number),
            reportTime(settlement.settledAt),
            settlement.cashier,
            settlement.desk,
            QString::number(figures.totalEvents()),
            common::moneyText(figures.amount(store::kTotalField)),
            common::moneyText(figures.amount(store::kSupplementField)),
            common::moneyText(figures.amount(store::kRefundField)),
            common::moneyText(settlement.cashDue),
            settlement.drawer ? common::moneyText(settlement.drawer->difference) : QString()};
}

QString settlementListText(const QList<store::Settlement>& settlements) {
    QStringList lines{settlementColumns().join(u'\t')};
    for (const store::Settlement& settlement : settlements) {
        lines.append(settlementCells(settlement).join(u'\t'));
    }
    return lines.join(u'\n') + u'\n';
}

}  // namespace shift
