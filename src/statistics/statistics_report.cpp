#include "statistics/statistics_report.h"

#include "common/number_text.h"

namespace statistics {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");
const QString kSeparator = QStringLiteral("──────────");

QString amountText(common::Money amount) {
    return common::numberToText(amount) + QStringLiteral("元");
}

}  // namespace

QString buildReport(const PeriodSums& sums) {
    QString statReport =
        QStringLiteral("共有：") + QString::number(sums.statCount) + QStringLiteral("单");
    statReport += kLineBreak + kSeparator;
    for (std::size_t i = 0; i < receipt::kFeeCategories.size(); ++i) {
        statReport +=
            kLineBreak + receipt::kFeeCategories[i].statisticsLabel + amountText(sums.statSums[i]);
    }
    statReport += kLineBreak + kSeparator;
    statReport += kLineBreak + QStringLiteral("合计：") + amountText(sums.statTotal);
    if (!sums.statArrears.isZero()) {
        statReport += kLineBreak + kSeparator;
        statReport += kLineBreak + QStringLiteral("累计欠费：") + amountText(sums.statArrears);
    }
    return statReport;
}

}  // namespace statistics
