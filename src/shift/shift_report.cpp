#include "shift/shift_report.h"

#include "common/money_text.h"
#include "common/money_words.h"
#include "receipt/fee_category.h"
#include "receipt/payment_methods.h"
#include "store/schema.h"

namespace shift {

namespace {

const QString kSeparator = QStringLiteral("──────────");

void appendLines(QStringList& lines, const QList<Figure>& figures) {
    for (const Figure& figure : figures) {
        lines.append(figure.name + QStringLiteral("：") + figure.value);
    }
}

void appendRows(QStringList& lines, const QStringList& columns, const QList<QStringList>& rows) {
    lines.append(columns.join(u'\t'));
    for (const QStringList& row : rows) {
        lines.append(row.join(u'\t'));
    }
}

// The methods an event's amounts were paid in: one, or 补:… 退:… when they differ.
QString eventMethodsText(const store::EventMethods& methods) {
    if (methods.supplement.isEmpty() || methods.refund.isEmpty() ||
        methods.supplement == methods.refund) {
        return methods.supplement.isEmpty() ? methods.refund : methods.supplement;
    }
    return QStringLiteral("补:%1 退:%2").arg(methods.supplement, methods.refund);
}

}  // namespace

ShiftReport openShiftReport(const QString& cashier, const QList<store::JournalEntry>& entries,
                            common::Money cashFloat) {
    return {0,       cashier,   store::deskName(), {}, store::sumEntries(entries),
            entries, cashFloat, std::nullopt};
}

ShiftReport settlementReport(const store::Settlement& settlement,
                             const QList<store::JournalEntry>& entries) {
    ShiftReport report{settlement.number,
                       settlement.cashier,
                       settlement.desk,
                       settlement.settledAt,
                       settlement.figures,
                       entries,
                       {},
                       settlement.drawer};
    // A settlement keeps no methods: its rows tell them.
    report.figures.methods = store::sumEntries(entries).methods;
    if (settlement.drawer) {
        report.cashFloat = settlement.drawer->cashFloat;
    }
    return report;
}

QString reportTime(const QDateTime& time) {
    return time.isValid() ? time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                          : QStringLiteral("无");
}

QString yuanText(common::Money amount) {
    return common::moneyText(amount) + QStringLiteral("元");
}

QString differenceText(common::Money difference) {
    if (difference.isZero()) {
        return yuanText(difference);
    }
    return difference.isNegative() ? QStringLiteral("短款 ") + yuanText(-difference)
                                   : QStringLiteral("长款 ") + yuanText(difference);
}

QList<Figure> headerFigures(const ShiftReport& report) {
    QList<Figure> figures{
        {QStringLiteral("结算号"),
         report.isSettled() ? QString::number(report.number) : QStringLiteral("未交班")},
        {QStringLiteral("收费员"), report.cashier},
        {QStringLiteral("电脑"), report.desk},
    };
    if (report.isSettled()) {
        figures.append({QStringLiteral("交班时间"), reportTime(report.settledAt)});
    }
    figures += {{QStringLiteral("首笔时间"), reportTime(report.figures.firstEvent)},
                {QStringLiteral("末笔时间"), reportTime(report.figures.lastEvent)}};
    return figures;
}

QList<Figure> countFigures(const store::ShiftFigures& figures) {
    QList<Figure> counts;
    for (const store::JournalKind kind : store::kJournalKinds) {
        counts.append({store::journalKindText(kind),
                       QString::number(figures.eventCount(kind)) + QStringLiteral("笔")});
    }
    // Named apart from the 预交 amount line, which the receipts deducted.
    counts +=
        {{QStringLiteral("收预交金"), QString::number(figures.depositCount) + QStringLiteral("笔")},
         {QStringLiteral("退预交金"),
          QString::number(figures.depositRefundCount) + QStringLiteral("笔")}};
    return counts;
}

QList<Figure> amountFigures(const store::ShiftFigures& figures) {
    QList<Figure> amounts;
    for (int index = 0; index < store::kJournalAmountCount; ++index) {
        amounts.append({receipt::shownFieldName(store::journalAmountField(index)),
                        yuanText(figures.amounts[index]), true});
    }
    amounts += {{kDepositsTakenName, yuanText(figures.depositsTaken)},
                {kDepositsRefundedName, yuanText(figures.depositsRefunded)}};
    return amounts;
}

QList<Figure> cashFigures(const ShiftReport& report) {
    // A settlement keeps the cash it settled; the open shift's is its rows' so far.
    const common::Money due = report.drawer ? report.drawer->cashDue : report.figures.cashDue();
    const QString counted = QStringLiteral("实点现金");
    const QList<Figure> dueFigures{{QStringLiteral("应交现金"), yuanText(due), true},
                                   {QStringLiteral("应交现金（大写）"), common::moneyWords(due)}};
    if (report.isSettled() && !report.drawer) {
        return dueFigures + QList<Figure>{{counted, QStringLiteral("交班时没有点钞")}};
    }
    QList<Figure> figures{{QStringLiteral("备用金"), yuanText(report.cashFloat), true}};
    figures += dueFigures;
    figures.append({QStringLiteral("应有现金"), yuanText(report.cashFloat + due), true});
    if (!report.drawer) {
        return figures + QList<Figure>{{counted, QStringLiteral("未点钞")}};
    }
    const store::DrawerBalance& drawer = *report.drawer;
    figures += {{counted, yuanText(drawer.counted), true},
                {QStringLiteral("长短款"), differenceText(drawer.difference), true},
                {QStringLiteral("点钞明细"), drawer.detail}};
    if (!drawer.remark.isEmpty()) {
        figures.append({QStringLiteral("长短款说明"), drawer.remark});
    }
    return figures;
}

QStringList methodColumns() {
    return {QStringLiteral("付款方式"), kDepositsTakenName,     kDepositsRefundedName,
            QStringLiteral("补收"),     QStringLiteral("退款"), QStringLiteral("合计")};
}

QList<QStringList> methodRows(const store::ShiftFigures& figures) {
    const QString cash = receipt::kCashMethod.toString();
    QList<store::MethodTotal> methods{figures.method(cash)};
    for (const store::MethodTotal& total : figures.methods) {
        if (total.method != cash) {
            methods.append(total);
        }
    }
    QList<QStringList> rows;
    for (const store::MethodTotal& total : methods) {
        rows.append({total.method, common::moneyText(total.deposits),
                     common::moneyText(total.depositRefunds), common::moneyText(total.supplement),
                     common::moneyText(total.refund), common::moneyText(total.net())});
    }
    return rows;
}

QStringList eventColumns() {
    return {QStringLiteral("时间"), QStringLiteral("事件"),     QStringLiteral("住院号"),
            QStringLiteral("姓名"), QStringLiteral("付款方式"), QStringLiteral("合计"),
            QStringLiteral("补收"), QStringLiteral("退款")};
}

QStringList eventCells(const store::JournalEntry& entry) {
    const auto amount = [&](QStringView field) {
        // A deposit's row shows its amount as the event's own: taken in, or paid back.
        if (field == store::kTotalField && (entry.kind == store::JournalKind::Deposit ||
                                            entry.kind == store::JournalKind::DepositRefund)) {
            field = store::kPrepaidField;
        }
        return common::moneyText(store::journalAmount(entry.amounts, field));
    };
    return {reportTime(entry.time),          store::journalKindText(entry.kind),
            entry.inpatientNumber,           entry.patientName,
            eventMethodsText(entry.methods), amount(store::kTotalField),
            amount(store::kSupplementField), amount(store::kRefundField)};
}

QString reportText(const ShiftReport& report) {
    QStringList lines{kReportTitle};
    appendLines(lines, headerFigures(report));
    lines.append(kSeparator);
    appendLines(lines, countFigures(report.figures));
    lines.append(kSeparator);
    const QList<Figure> amounts = amountFigures(report.figures);
    appendLines(lines, amounts.first(receipt::kFeeCategoryCount));
    lines.append(kSeparator);
    appendLines(lines, amounts.sliced(receipt::kFeeCategoryCount));
    lines.append(kSeparator);
    appendRows(lines, methodColumns(), methodRows(report.figures));
    lines.append(kSeparator);
    appendLines(lines, cashFigures(report));
    lines.append(kSeparator);
    QList<QStringList> events;
    for (const store::JournalEntry& entry : report.entries) {
        events.append(eventCells(entry));
    }
    appendRows(lines, eventColumns(), events);
    return lines.join(u'\n') + u'\n';
}

}  // namespace shift
