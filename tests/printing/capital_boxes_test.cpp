#include <gtest/gtest.h>

#include "printing/capital_boxes.h"
#include "support/qt_printers.h"

namespace {

using Boxes = std::array<QString, printing::kCapitalBoxCount>;

Boxes boxes(std::initializer_list<const char16_t*> figures) {
    Boxes result;
    int box = 0;
    for (const char16_t* figure : figures) {
        result[box++] = QString::fromUtf16(figure);
    }
    return result;
}

TEST(CapitalBoxes, KeepsEveryHigherDigitOfALargeDepositInTheFirstBox) {
    EXPECT_EQ(printing::capitalBoxes(common::yuan(1000000)),
              boxes({u"壹零", u"零", u"零", u"零", u"零", u"零", u"零", u"零"}));
    EXPECT_EQ(printing::capitalBoxes(common::yuan(12345678.9)),
              boxes({u"壹贰叁", u"肆", u"伍", u"陆", u"柒", u"捌", u"玖", u"零"}));
}

TEST(CapitalBoxes, MarksANegativeDepositInTheFirstBox) {
    EXPECT_EQ(printing::capitalBoxes(common::yuan(-5)),
              boxes({u"负零", u"零", u"零", u"零", u"零", u"伍", u"零", u"零"}));
    EXPECT_EQ(printing::capitalBoxes(common::yuan(-1234567.8)),
              boxes({u"负壹贰", u"叁", u"肆", u"伍", u"陆", u"柒", u"捌", u"零"}));
}

}  // namespace
