#include "common/money_words.h"

#include <gtest/gtest.h>

#include "support/qt_printers.h"

namespace {

struct MoneyWordsCase {
    double amount;
    const char16_t* words;
};

void PrintTo(const MoneyWordsCase& amountCase, std::ostream* os) {
    *os << amountCase.amount;
}

class MoneyWordsTest : public ::testing::TestWithParam<MoneyWordsCase> {};

TEST_P(MoneyWordsTest, WritesTheAmountAsTheBankingRulesDo) {
    EXPECT_EQ(common::moneyWords(GetParam().amount), QString::fromUtf16(GetParam().words))
        << "amount " << GetParam().amount;
}

INSTANTIATE_TEST_SUITE_P(
    AmountTable, MoneyWordsTest,
    ::testing::Values(
        // zero, below one yuan, whole yuan
        MoneyWordsCase{0, u"零元整"}, MoneyWordsCase{0.05, u"伍分"}, MoneyWordsCase{0.5, u"伍角整"},
        MoneyWordsCase{0.55, u"伍角伍分"}, MoneyWordsCase{1, u"壹元整"},
        MoneyWordsCase{10, u"壹拾元整"}, MoneyWordsCase{15, u"壹拾伍元整"},
        MoneyWordsCase{100, u"壹佰元整"},
        // zeros between digits: one 零 however many
        MoneyWordsCase{1010, u"壹仟零壹拾元整"}, MoneyWordsCase{10001, u"壹万零壹元整"},
        MoneyWordsCase{6007.14, u"陆仟零柒元壹角肆分"}, MoneyWordsCase{1000.05, u"壹仟元零伍分"},
        MoneyWordsCase{1.05, u"壹元零伍分"},
        // a zero 元 place before a non-zero 角 needs no 零
        MoneyWordsCase{120.5, u"壹佰贰拾元伍角整"}, MoneyWordsCase{123.5, u"壹佰贰拾叁元伍角整"},
        MoneyWordsCase{1680.32, u"壹仟陆佰捌拾元叁角贰分"},
        // the 万 boundary
        MoneyWordsCase{100000, u"壹拾万元整"}, MoneyWordsCase{100001, u"壹拾万零壹元整"},
        MoneyWordsCase{107000.53, u"壹拾万柒仟元伍角叁分"},
        MoneyWordsCase{999999.99, u"玖拾玖万玖仟玖佰玖拾玖元玖角玖分"},
        MoneyWordsCase{1000000, u"壹佰万元整"}, MoneyWordsCase{10000000, u"壹仟万元整"},
        // the 亿 boundary: never a dangling 万
        MoneyWordsCase{100000000, u"壹亿元整"}, MoneyWordsCase{100010000, u"壹亿零壹万元整"},
        MoneyWordsCase{100000001, u"壹亿零壹元整"}, MoneyWordsCase{110000000, u"壹亿壹仟万元整"},
        MoneyWordsCase{1234567890.12, u"壹拾贰亿叁仟肆佰伍拾陆万柒仟捌佰玖拾元壹角贰分"},
        // rounding to the fen, half away from zero
        MoneyWordsCase{0.004, u"零元整"}, MoneyWordsCase{0.005, u"壹分"},
        MoneyWordsCase{1.005, u"壹元零壹分"},
        // negatives
        MoneyWordsCase{-5, u"负伍元整"}, MoneyWordsCase{-0.5, u"负伍角整"},
        MoneyWordsCase{-1010.01, u"负壹仟零壹拾元零壹分"}));

TEST(MoneyWords, SinglePrecisionAmountsShowTheirTypedValue) {
    EXPECT_EQ(common::moneyWords(static_cast<double>(0.1f)), QStringLiteral("壹角整"));
    EXPECT_EQ(common::moneyWords(static_cast<double>(100.1f) + static_cast<double>(200.2f)),
              QStringLiteral("叁佰元叁角整"));
}

}  // namespace
