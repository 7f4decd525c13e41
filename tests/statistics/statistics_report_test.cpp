#include "statistics/statistics_report.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "support/qt_printers.h"

namespace {

using common::Money;
using common::yuan;
using statistics::PeriodSums;
using statistics::ReceiptAmounts;

ReceiptAmounts receipt(Money bedFee, Money arrears, Money total) {
    ReceiptAmounts amounts;
    amounts.fees[0] = bedFee;
    amounts.arrears = arrears;
    amounts.total = total;
    return amounts;
}

QStringList reportLines(const PeriodSums& sums) {
    return statistics::buildReport(sums).split(QStringLiteral("\r\n"));
}

TEST(PeriodSums, AddUpExactlyToTheFenWhateverTheSize) {
    PeriodSums sums;
    sums.addReceipt(receipt(yuan(16777216), yuan(16777216), yuan(16777216)));
    for (int i = 0; i < 10; ++i) {
        sums.addReceipt(receipt(yuan(0.1), yuan(0.1), yuan(0.1)));
    }
    EXPECT_EQ(sums.statSums[0], yuan(16777217));
    EXPECT_EQ(sums.statArrears, yuan(16777217));
    EXPECT_EQ(sums.statTotal, yuan(16777217));
    EXPECT_EQ(sums.statCount, 11);

    const QStringList lines = reportLines(sums);
    EXPECT_EQ(lines.at(2), QStringLiteral("床位费：16777217元"));
    EXPECT_EQ(lines.at(22), QStringLiteral("合计：16777217元"));
    EXPECT_EQ(lines.last(), QStringLiteral("累计欠费：16777217元"));
}

TEST(StatisticsReport, ArrearsLineOnlyWhenThereAreArrears) {
    PeriodSums settled;
    settled.addReceipt(receipt(yuan(100), yuan(0), yuan(100)));
    const QStringList settledLines = reportLines(settled);
    ASSERT_EQ(settledLines.size(), 23);
    EXPECT_EQ(settledLines.last(), QStringLiteral("合计：100元"));

    PeriodSums owing;
    owing.addReceipt(receipt(yuan(100), yuan(-0.5), yuan(100)));
    const QStringList owingLines = reportLines(owing);
    ASSERT_EQ(owingLines.size(), 25);
    EXPECT_EQ(owingLines.at(23), QStringLiteral("──────────"));
    EXPECT_EQ(owingLines.at(24), QStringLiteral("累计欠费：-0.5元"));
}

}  // namespace
