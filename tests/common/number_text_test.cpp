#include "common/number_text.h"

#include <gtest/gtest.h>

#include "common/fen.h"
#include "support/qt_printers.h"

namespace {

TEST(TextToNumber, ReadsDecimalTextAndTreatsEverythingElseAsZero) {
    EXPECT_EQ(common::textToNumber(u"123.45"), 123.45);
    EXPECT_EQ(common::textToNumber(u"-5"), -5.0);
    EXPECT_EQ(common::textToNumber(u".5"), 0.5);
    EXPECT_EQ(common::textToNumber(u"7."), 7.0);
    for (const QString& text :
         {QString(), QStringLiteral("-"), QStringLiteral("."), QStringLiteral("-."),
          QStringLiteral("1e5"), QStringLiteral(" 12"), QStringLiteral("12a"),
          QStringLiteral("1,000"), QStringLiteral("inf")}) {
        EXPECT_EQ(common::textToNumber(text), 0.0) << text.toStdString();
    }
}

TEST(NumberToText, WritesPlainDecimalsRoundedToTheFen) {
    EXPECT_EQ(common::numberToText(0), QStringLiteral("0"));
    EXPECT_EQ(common::numberToText(-0.0), QStringLiteral("0"));
    EXPECT_EQ(common::numberToText(123.5), QStringLiteral("123.5"));
    EXPECT_EQ(common::numberToText(200), QStringLiteral("200"));
    EXPECT_EQ(common::numberToText(1234567.25), QStringLiteral("1234567.25"));
    EXPECT_EQ(common::numberToText(-76.5), QStringLiteral("-76.5"));
    EXPECT_EQ(common::numberToText(1.005), QStringLiteral("1.01"));
    EXPECT_EQ(common::numberToText(-1.005), QStringLiteral("-1.01"));
    EXPECT_EQ(common::numberToText(9.999), QStringLiteral("10"));
    EXPECT_EQ(common::numberToText(1e20), QStringLiteral("100000000000000000000"));
}

TEST(NumberToText, ShowsSinglePrecisionValuesAsTyped) {
    EXPECT_EQ(common::numberToText(0.1f), QStringLiteral("0.1"));
    EXPECT_EQ(common::numberToText(99999.99f), QStringLiteral("99999.99"));
    EXPECT_EQ(common::numberToText(static_cast<double>(0.1f) + static_cast<double>(0.2f)),
              QStringLiteral("0.3"));
}

TEST(NumberToText, NeverWritesANonZeroAmountAsZero) {
    EXPECT_EQ(common::numberToText(0.0000076293945), QStringLiteral("0.0000076"));
    EXPECT_EQ(common::numberToText(-0.0000076293945), QStringLiteral("-0.0000076"));
    EXPECT_EQ(common::numberToText(0.004), QStringLiteral("0.004"));
    EXPECT_EQ(common::numberToText(0.0000999), QStringLiteral("0.0001"));
}

TEST(ToFen, RoundsHalfAwayFromZero) {
    EXPECT_EQ(common::toFen(120.5), 12050);
    EXPECT_EQ(common::toFen(0.29), 29);
    EXPECT_EQ(common::toFen(0.7f), 70);
    EXPECT_EQ(common::toFen(0.125), 13);
    EXPECT_EQ(common::toFen(-0.125), -13);
    EXPECT_EQ(common::toFen(999999.99), 99999999);
    EXPECT_EQ(common::toFen(0.0049), 0);
}

}  // namespace
