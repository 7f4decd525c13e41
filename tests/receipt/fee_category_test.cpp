#include "receipt/fee_category.h"

#include <gtest/gtest.h>

#include "support/qt_printers.h"

namespace {

// A field is named as the statistics report names its category, without the report's spacing,
// wherever the program's own windows and files show it; other fields keep their own names.
TEST(FeeCategoryNames, AreTheStatisticsReportsWithoutItsSpacing) {
    const std::pair<const char16_t*, const char16_t*> names[] = {
        {u"床位费", u"床位费"},     {u"诊金", u"诊金"},         {u"CT", u"CT"},
        {u"中成药费", u"中成药费"}, {u"其它", u"其他"},         {u"麻醉", u"麻醉"},
        {u"陪住", u"陪住"},         {u"自费药品", u"自费药品"}, {u"特需服务费", u"特服费"},
        {u"杂费", u"杂费"},         {u"合计", u"合计"},         {u"收费员", u"收费员"},
    };
    for (const auto& [field, shown] : names) {
        EXPECT_EQ(receipt::shownFieldName(field), QStringView(shown).toString())
            << QStringView(field).toString().toStdString();
    }
}

}  // namespace
