#include "common/money_words.h"

#include <gtest/gtest.h>

#include "support/qt_printers.h"

namespace {

struct MoneyWordsCase {
    std::int64_t fen;
    const char16_t* words;
};

void PrintTo(const MoneyWordsCase& amountCase, std::ostream* os) {
    *os << amountCase.fen << " fen";
}

class MoneyWordsTest : public ::testing::TestWithParam<MoneyWordsCase> {};

TEST_P(MoneyWordsTest, WritesTheAmountAsTheBankingRulesDo) {
    EXPECT_EQ(common::moneyWords(common::Money::fromFen(GetParam().fen)),
              QString::fromUtf16(GetParam().words));
}

INSTANTIATE_TEST_SUITE_P(
    AmountTable, MoneyWordsTest,
    ::testing::Values(
        // zero, below one yuan, whole yuan
        MoneyWordsCase{0, u"零元整"}, MoneyWordsCase{5, u"伍分"}, MoneyWordsCase{50, u"伍角整"},
        MoneyWordsCase{55, u"伍角伍分"}, MoneyWordsCase{100, u"壹元整"},
        MoneyWordsCase{1000, u"壹拾元整"}, MoneyWordsCase{1500, u"壹拾伍元整"},
        MoneyWordsCase{10000, u"壹佰元整"},
        // zeros between digits: one 零 however many
        MoneyWordsCase{101000, u"壹仟零壹拾元整"}, MoneyWordsCase{1000100, u"壹万零壹元整"},
        MoneyWordsCase{600714, u"陆仟零柒元壹角肆分"}, MoneyWordsCase{100005, u"壹仟元零伍分"},
        MoneyWordsCase{105, u"壹元零伍分"},
        // a zero 元 place before a non-zero 角 needs no 零
        MoneyWordsCase{12050, u"壹佰贰拾元伍角整"}, MoneyWordsCase{12350, u"壹佰贰拾叁元伍角整"},
        MoneyWordsCase{168032, u"壹仟陆佰捌拾元叁角贰分"},
        // the 万 boundary
        MoneyWordsCase{10000000, u"壹拾万元整"}, MoneyWordsCase{10000100, u"壹拾万零壹元整"},
        MoneyWordsCase{10700053, u"壹拾万柒仟元伍角叁分"},
        MoneyWordsCase{99999999, u"玖拾玖万玖仟玖佰玖拾玖元玖角玖分"},
        MoneyWordsCase{100000000, u"壹佰万元整"}, MoneyWordsCase{1000000000, u"壹仟万元整"},
        // the 亿 boundary: never a dangling 万
        MoneyWordsCase{10000000000, u"壹亿元整"}, MoneyWordsCase{10001000000, u"壹亿零壹万元整"},
        MoneyWordsCase{10000000100, u"壹亿零壹元整"},
        MoneyWordsCase{11000000000, u"壹亿壹仟万元整"},
        MoneyWordsCase{123456789012, u"壹拾贰亿叁仟肆佰伍拾陆万柒仟捌佰玖拾元壹角贰分"},
        // negatives
        MoneyWordsCase{-500, u"负伍元整"}, MoneyWordsCase{-50, u"负伍角整"},
        MoneyWordsCase{-101001, u"负壹仟零壹拾元零壹分"}));

}  // namespace
