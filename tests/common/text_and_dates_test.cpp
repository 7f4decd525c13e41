#include <gtest/gtest.h>

#include "common/capital_figure.h"
#include "common/dates.h"
#include "common/text.h"
#include "support/qt_printers.h"

namespace {

TEST(TextEquals, IsExactAndCaseSensitive) {
    EXPECT_TRUE(common::textEquals(u"491MX", u"491MX"));
    EXPECT_FALSE(common::textEquals(u"491MX", u"491mx"));
    EXPECT_FALSE(common::textEquals(u"123", u"123 "));
    EXPECT_FALSE(common::textEquals(u" 123", u"123"));
    EXPECT_TRUE(common::textEquals(QString(), QStringLiteral("")));
}

TEST(IsBlank, SeesOnlySpaces) {
    EXPECT_TRUE(common::isBlank(u""));
    EXPECT_TRUE(common::isBlank(u"   "));
    EXPECT_TRUE(common::isBlank(u"　"));
    EXPECT_FALSE(common::isBlank(u" 张 "));
    EXPECT_FALSE(common::isBlank(u"0"));
}

TEST(CodePageBytes, CountsAsciiAsOneAndOthersAsTwo) {
    EXPECT_EQ(common::codePageByteLength(u"张三李四"), 8);
    EXPECT_EQ(common::codePageByteLength(u"Li 张"), 5);
    EXPECT_EQ(common::truncateToCodePageBytes(QStringLiteral("张三李四王"), 8),
              QStringLiteral("张三李四"));
    EXPECT_EQ(common::truncateToCodePageBytes(QStringLiteral("abcdefg张"), 8),
              QStringLiteral("abcdefg"));
    // A character beyond the basic plane is one character; a lone surrogate is kept as it was.
    EXPECT_EQ(common::truncateToCodePageBytes(QStringLiteral("张三李𠀀王"), 8),
              QStringLiteral("张三李𠀀"));
    const QString loneSurrogate = QString(QChar(0xd800)) + QStringLiteral("ab张三李");
    EXPECT_EQ(common::truncateToCodePageBytes(loneSurrogate, 8), loneSurrogate.left(5));
}

TEST(CapitalFigure, WritesDigitsInCapitals) {
    EXPECT_EQ(common::capitalFigure(0), QStringLiteral("零"));
    EXPECT_EQ(common::capitalFigure(9), QStringLiteral("玖"));
    EXPECT_EQ(common::capitalFigures(12), QStringLiteral("壹贰"));
    EXPECT_EQ(common::capitalFigures(-3), QStringLiteral("负叁"));
}

TEST(StayLength, CountsDaysFromAdmissionToDischarge) {
    const QDateTime first = common::startOfDay(QDate(2026, 3, 1));
    EXPECT_EQ(common::stayLengthText(first, first), QStringLiteral("共计1天"));
    EXPECT_EQ(common::stayLengthText(first, first.addDays(1)), QStringLiteral("共计1天"));
    EXPECT_EQ(common::stayLengthText(first, first.addDays(4)), QStringLiteral("共计4天"));
    EXPECT_EQ(common::stayLengthText(first, first.addDays(365)), QStringLiteral("共计365天"));
}

TEST(YearMonthDayText, DropsLeadingZeros) {
    EXPECT_EQ(common::yearMonthDayText(QDate(2008, 3, 5)), QStringLiteral("2008-3-5"));
    EXPECT_EQ(common::yearMonthDayText(QDate(2026, 12, 31)), QStringLiteral("2026-12-31"));
}

}  // namespace
