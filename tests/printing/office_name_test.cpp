#include <gtest/gtest.h>

#include "printing/office_name.h"

namespace {

using printing::OfficeName;

TEST(OfficeName, TakesWhatFitsItsBlankAndSaysWhyNot) {
    const struct {
        OfficeName which;
        QString typed;
        std::optional<QString> taken;
        const char16_t* says;
    } cases[] = {
        {OfficeName::Hospital, u" 江北县人民医院 "_qs, u"江北县人民医院"_qs, u""},
        {OfficeName::Hospital, QString(25, u'院'), QString(25, u'院'), u""},
        {OfficeName::Hospital, QString(50, u'H'), QString(50, u'H'), u""},
        {OfficeName::Hospital, QString(26, u'院'), {}, u"医院名称“"},
        {OfficeName::Department, QString(10, u'科'), QString(10, u'科'), u""},
        {OfficeName::Department, QString(11, u'科'), {}, u"最多印得下 10 个汉字"},
        {OfficeName::Department, u"\t"_qs, {}, u"科室名称不能为空"},
        {OfficeName::Department, u"骨\t科"_qs, {}, u"不能含换行"},
        {OfficeName::Hospital, u"江北\u2028医院"_qs, {}, u"不能含换行"},
        {OfficeName::Hospital, u"江北\r医院"_qs, {}, u"不能含换行"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.typed.toStdString());
        QString problem;
        EXPECT_EQ(printing::parseOfficeName(test.typed, test.which, &problem), test.taken);
        EXPECT_TRUE(problem.contains(QString::fromUtf16(test.says))) << problem.toStdString();
        EXPECT_EQ(problem.isEmpty(), test.taken.has_value());
    }
}

}  // namespace
