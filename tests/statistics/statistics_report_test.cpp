#include "statistics/statistics_report.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "support/qt_printers.h"

namespace {

using common::Money;
using common::yuan;
using statistics::PeriodSums;

PeriodSums sums(Money bedFee, Money arrears, Money total) {
    PeriodSums sums;
    sums.statSums[0] = bedFee;
    sums.statArrears = arrears;
    sums.statTotal = total;
    sums.statCount = 1;
    return sums;
}

QStringList reportLines(const PeriodSums& sums) {
    return statistics::buildReport(sums).split(QStringLiteral("\r\n"));
}

TEST(StatisticsReport, ArrearsLineOnlyWhenThereAreArrears) {
    const QStringList settledLines = reportLines(sums(yuan(100), Money(), yuan(100)));
    ASSERT_EQ(settledLines.size(), 23);
    EXPECT_EQ(settledLines.at(0), QStringLiteral("共有：1单"));
    EXPECT_EQ(settledLines.at(2), QStringLiteral("床位费：100元"));
    EXPECT_EQ(settledLines.last(), QStringLiteral("合计：100元"));

    const QStringList owingLines = reportLines(sums(yuan(100), yuan(-0.5), yuan(100)));
    ASSERT_EQ(owingLines.size(), 25);
    EXPECT_EQ(owingLines.at(23), QStringLiteral("──────────"));
    EXPECT_EQ(owingLines.at(24), QStringLiteral("累计欠费：-0.5元"));
}

}  // namespace
