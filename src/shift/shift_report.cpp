#include "shift/shift_report.h"

#include "common/number_text.h"
#include "receipt/fee_category.h"
#include "store/schema.h"

namespace shift {

namespace {

const QString kSeparator = QStringLiteral("──────────");

QString yuanText(common::Money amount) {
    return common::numberToText(amount) + QStringLiteral("元");
}

void appendLines(QStringList& lines, const QList<Figure>& figures) {
    for (const Figure& figure : figures) {
        lines.append(figure.name + QStringLiteral("：") + figure.value);
    }
}

}  // namespace

ShiftReport openShiftReport(const QString& cashier, const QList<store::JournalEntry>& entries) {
    return {0, cashier, store::deskName(), {}, store::sumEntries(entries), entries};
}

ShiftReport settlementReport(const store::Settlement& settlement,
                             const QList<store::JournalEntry>& entries) {
    return {settlement.number,    settlement.cashier, settlement.desk,
            settlement.settledAt, settlement.figures, entries};
}

QString reportTime(const QDateTime& time) {
    return time.isValid() ? time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                          : QStringLiteral("无");
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
    return counts;
}

QList<Figure> amountFigures(const store::ShiftFigures& figures) {
    QList<Figure> amounts;
    for (int index = 0; index < store::kJournalAmountCount; ++index) {
        QString name = store::journalAmountField(index).toString();
        if (index < receipt::kFeeCategoryCount) {
            name = receipt::kFeeCategories[index].statisticsLabel.chopped(1).toString();
        }
        amounts.append({name, yuanText(figures.amounts[index])});
    }
    amounts.append({QStringLiteral("应交现金"), yuanText(figures.cashDue())});
    return amounts;
}

QStringList eventColumns() {
    return {QStringLiteral("时间"), QStringLiteral("事件"), QStringLiteral("住院号"),
            QStringLiteral("姓名"), QStringLiteral("合计"), QStringLiteral("补收"),
            QStringLiteral("退款")};
}

QStringList eventCells(const store::JournalEntry& entry) {
    const auto amount = [&](QStringView field) {
        return common::numberToText(store::journalAmount(entry.amounts, field));
    };
    return {reportTime(entry.time),     store::journalKindText(entry.kind),
            entry.inpatientNumber,      entry.patientName,
            amount(store::kTotalField), amount(store::kSupplementField),
            amount(store::kRefundField)};
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
    lines.append(eventColumns().join(u'\t'));
    for (const store::JournalEntry& entry : report.entries) {
        lines.append(eventCells(entry).join(u'\t'));
    }
    return lines.join(u'\n') + u'\n';
}

}  // namespace shift
