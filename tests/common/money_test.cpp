#include "common/money.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "support/qt_printers.h"

namespace {

using common::Money;
using common::yuan;

TEST(Money, StoredRealsReadAsTheTypedAmount) {
    const std::pair<double, Money> readings[] = {
        {0.1, yuan(0.1)},
        {150000.1, yuan(150000.1)},
        {99999992.0, yuan(99999992)},  // whole fen are taken as they are, floats or not
        // what a program that narrowed amounts to single precision wrote
        {static_cast<double>(0.1F), yuan(0.1)},
        {static_cast<double>(150000.1F), yuan(150000.1)},
        {static_cast<double>(-12345.67F), yuan(-12345.67)},
        {static_cast<double>(0.1F) + static_cast<double>(0.2F), yuan(0.3)},
        // anything else rounds half away from zero
        {0.125, yuan(0.13)},
        {-0.125, yuan(-0.13)},
        {1.005, yuan(1.01)},
        {0.0049, Money()},
        {std::nan(""), Money()},
        {std::numeric_limits<double>::infinity(), Money::fromFen(Money::kMaxFen)},
        {-1e300, Money::fromFen(-Money::kMaxFen)},
    };
    for (const auto& [stored, amount] : readings) {
        EXPECT_EQ(Money::fromStoredReal(stored), amount) << stored;
    }
}

TEST(Money, EveryAmountSurvivesTheTripThroughItsStoredReal) {
    std::mt19937_64 random(20261209);
    std::uniform_int_distribution<std::int64_t> fen(-99'999'999'999, 99'999'999'999);
    for (int i = 0; i < 100000; ++i) {
        const Money amount = Money::fromFen(fen(random));
        ASSERT_EQ(Money::fromStoredReal(amount.toStoredReal()), amount) << amount.fen();
    }
}

TEST(Money, SumsSaturateInsteadOfWrappingRound) {
    const Money largest = Money::fromFen(Money::kMaxFen);
    EXPECT_EQ(largest + yuan(0.01), largest);
    EXPECT_EQ(-largest - yuan(0.01), -largest);
    EXPECT_EQ(Money::fromFen(std::numeric_limits<std::int64_t>::min()), -largest);
    EXPECT_EQ(largest - largest, Money());
}

}  // namespace
