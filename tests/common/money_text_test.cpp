#include "common/money_text.h"

#include <gtest/gtest.h>

#include "support/qt_printers.h"

namespace {

using common::Money;

// Always two decimals, whatever the amount; the fast form for files writes the same characters.
TEST(MoneyText, WritesEveryAmountWithTwoDecimals) {
    const std::pair<std::int64_t, const char*> amounts[] = {
        {0, "0.00"},
        {5, "0.05"},
        {-5, "-0.05"},
        {50, "0.50"},
        {100, "1.00"},
        {-1250, "-12.50"},
        {12345678, "123456.78"},
        {Money::kMaxFen, "92233720368547758.07"},
        {-Money::kMaxFen, "-92233720368547758.07"},
    };
    for (const auto& [fen, expected] : amounts) {
        EXPECT_EQ(common::moneyText(Money::fromFen(fen)), QString::fromLatin1(expected)) << fen;
        std::string appended = "x";
        common::appendMoneyText(appended, Money::fromFen(fen));
        EXPECT_EQ(appended, std::string("x") + expected) << fen;
    }
}

}  // namespace
