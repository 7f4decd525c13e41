#include "common/number_text.h"

#include <gtest/gtest.h>

#include "support/qt_printers.h"

namespace {

using common::Money;
using common::yuan;

TEST(ParseAmount, ReadsWhatAnAmountBoxAdmitsAndNothingElse) {
    const std::pair<const char16_t*, Money> amounts[] = {
        {u"123.45", yuan(123.45)},
        {u"-5", yuan(-5)},
        {u".5", yuan(0.5)},
        {u"7.", yuan(7)},
        {u"150000.1", yuan(150000.1)},
        {u"99999999", yuan(99999999)},
        {u"0.01", yuan(0.01)},
        {u"-0.05", yuan(-0.05)},
        {u"", Money()},
        {u"-", Money()},
        {u".", Money()},
        {u"-.", Money()},
    };
    for (const auto& [text, amount] : amounts) {
        EXPECT_EQ(common::parseAmount(text), amount) << QString::fromUtf16(text).toStdString();
    }
    for (const char16_t* text : {u"1.005", u"1e5", u" 12", u"12a", u"1,000", u"inf", u"--5",
                                 u"1.2.3", u"１２", u"99999999999999999999"}) {
        EXPECT_EQ(common::parseAmount(text), std::nullopt)
            << QString::fromUtf16(text).toStdString();
    }
    for (const char16_t* text : {u"1.005", u"1e5", u" 12", u"12a", u"1,000", u"inf", u"--5",
                                 u"1.2.3", u"１２", u"\n", u"99999999999999999999\n"}) {
        EXPECT_EQ(common::textToNumber(text), Money()) << QString::fromUtf16(text).toStdString();
    }
    // Too large to hold: the largest amount, which every limit refuses.
    EXPECT_EQ(common::textToNumber(u"99999999999999999999"), Money::fromFen(Money::kMaxFen));
    EXPECT_EQ(common::textToNumber(u"-99999999999999999.5"), Money::fromFen(-Money::kMaxFen));
}

TEST(NumberToText, WritesPlainDecimalsWithoutTrailingZeros) {
    const std::pair<Money, const char16_t*> texts[] = {
        {Money(), u"0"},
        {yuan(123.5), u"123.5"},
        {yuan(200), u"200"},
        {yuan(0.05), u"0.05"},
        {yuan(-76.5), u"-76.5"},
        {yuan(-0.01), u"-0.01"},
        {yuan(150000.1), u"150000.1"},
        {yuan(99999999), u"99999999"},
        {Money::fromFen(Money::kMaxFen), u"92233720368547758.07"},
    };
    for (const auto& [amount, text] : texts) {
        EXPECT_EQ(common::numberToText(amount), QString::fromUtf16(text));
        EXPECT_EQ(common::parseAmount(common::numberToText(amount)), amount) << "reads back";
    }
}

}  // namespace
