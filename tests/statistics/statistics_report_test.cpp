#include "statistics/statistics_report.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "support/qt_printers.h"

namespace {

using statistics::PeriodSums;
using statistics::ReceiptAmounts;

ReceiptAmounts receipt(double bedFee, double arrears, double total) {
    ReceiptAmounts amounts;
    amounts.fees[0] = bedFee;
    amounts.arrears = arrears;
    amounts.total = total;
    return amounts;
}

QStringList reportLines(const PeriodSums& sums) {
    return statistics::buildReport(sums).split(QStringLiteral("\r\n"));
}

TEST(PeriodSums, CategoryAndArrearsSumsStaySinglePrecisionWhileTheTotalIsDouble) {
    PeriodSums sums;
    sums.addReceipt(receipt(16777216, 16777216, 16777216));
    sums.addReceipt(receipt(1, 1, 1));

    EXPECT_EQ(sums.statSums[0], 16777216.0f);
    EXPECT_EQ(sums.statArrears, 16777216.0f);
    EXPECT_EQ(sums.statTotal, 16777217.0);
    EXPECT_EQ(sums.statCount, 2);

    const QStringList lines = reportLines(sums);
    EXPECT_EQ(lines.at(2), QStringLiteral("床位费：16777216元"));
    EXPECT_EQ(lines.at(22), QStringLiteral("合计：16777217元"));
    EXPECT_EQ(lines.last(), QStringLiteral("累计欠费：16777216元"));
}

TEST(PeriodSums, EachAdditionIsRoundedBackToSinglePrecision) {
    // Ten receipts of 0.1: the float steps drift to 1.00000012, the double total stays nearer 1.
    PeriodSums sums;
    for (int i = 0; i < 10; ++i) {
        sums.addReceipt(receipt(0.1f, 0.1f, 0.1f));
    }
    EXPECT_EQ(sums.statSums[0], 1.00000012f);
    EXPECT_EQ(sums.statArrears, 1.00000012f);
    EXPECT_NEAR(sums.statTotal, 1.0000000149, 1e-10);
}

TEST(StatisticsReport, ArrearsLineOnlyBeyondTheTolerance) {
    PeriodSums settled;
    settled.addReceipt(receipt(100, 0.00000005, 100));
    const QStringList settledLines = reportLines(settled);
    ASSERT_EQ(settledLines.size(), 23);
    EXPECT_EQ(settledLines.last(), QStringLiteral("合计：100元"));

    PeriodSums owing;
    owing.addReceipt(receipt(100, -0.5, 100));
    const QStringList owingLines = reportLines(owing);
    ASSERT_EQ(owingLines.size(), 25);
    EXPECT_EQ(owingLines.at(23), QStringLiteral("──────────"));
    EXPECT_EQ(owingLines.at(24), QStringLiteral("累计欠费：-0.5元"));
}

}  // namespace
