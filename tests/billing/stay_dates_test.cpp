#include "billing/main_window_fixture.h"

namespace {

TEST_F(MainWindowTest, StayLengthFollowsTheDates) {
    EXPECT_EQ(label(u"标签43")->text(), QStringLiteral("共计1天"));

    dateBox(u"日期框2")->setDate(today().addDays(4));
    EXPECT_EQ(label(u"标签43")->text(), QStringLiteral("共计4天"));
    dateBox(u"日期框2")->setDate(today().addDays(1));
    EXPECT_EQ(label(u"标签43")->text(), QStringLiteral("共计1天"));
}

TEST_F(MainWindowTest, DischargeBeforeAdmissionIsPutBack) {
    dateBox(u"日期框1")->setDate(today().addDays(-3));
    dateBox(u"日期框2")->setDate(today().addDays(-5));

    EXPECT_EQ(statusLine(), QStringLiteral("日期输入错误！"));
    EXPECT_EQ(dateBox(u"日期框2")->date(), today().addDays(-3));
    EXPECT_EQ(dateBox(u"日期框1")->date(), today().addDays(-3));
    EXPECT_EQ(label(u"标签43")->text(), QStringLiteral("共计1天"));
}

TEST_F(MainWindowTest, AdmissionAfterDischargeIsPutBack) {
    dateBox(u"日期框1")->setDate(today().addDays(2));

    EXPECT_EQ(statusLine(), QStringLiteral("日期输入错误！"));
    EXPECT_EQ(dateBox(u"日期框1")->date(), today());
    EXPECT_EQ(dateBox(u"日期框2")->date(), today());
    EXPECT_EQ(label(u"标签43")->text(), QStringLiteral("共计1天"));
}

TEST_F(MainWindowTest, ValidDateChangeClearsTheStatusLineButNotTheTotals) {
    widget_driver::typeAndLeave(box(u"编辑框2"), QStringLiteral("80"));
    ASSERT_EQ(statusLine(), QStringLiteral("应补交80元"));

    dateBox(u"日期框1")->setDate(today().addDays(-1));
    EXPECT_EQ(statusLine(), QString());
    EXPECT_EQ(box(u"编辑框27")->text(), QStringLiteral("80"));
    EXPECT_EQ(label(u"标签43")->text(), QStringLiteral("共计1天"));
}

TEST_F(MainWindowTest, ArrowKeysReachTheSectionsOfADateBoxAndTheCalendarDropsDown) {
    QDateEdit* discharge = dateBox(u"日期框2");
    widget_driver::focus(discharge);
    QTest::keyClick(discharge, Qt::Key_Up);
    EXPECT_EQ(discharge->date(), today().addYears(1));
    for (int press = 0; press < 10 && discharge->currentSection() != QDateTimeEdit::DaySection;
         ++press) {
        QTest::keyClick(discharge, Qt::Key_Right);
    }
    QTest::keyClick(discharge, Qt::Key_Up);
    EXPECT_EQ(discharge->date(), today().addYears(1).addDays(1));

    QTest::mouseClick(discharge, Qt::LeftButton, {},
                      {discharge->width() - 4, discharge->height() / 2});
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);  // the calendar
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
}

TEST_F(MainWindowTest, EnterInADateBoxChecksOnlyADateThatChanged) {
    widget_driver::typeAndLeave(box(u"编辑框2"), QStringLiteral("80"));
    QDateEdit* admission = dateBox(u"日期框1");
    widget_driver::focus(admission);
    QTest::keyClick(admission, Qt::Key_Return);
    QTest::keyClick(admission, Qt::Key_Enter);
    EXPECT_EQ(statusLine(), QStringLiteral("应补交80元"));

    QTest::keyClicks(admission, QStringLiteral("2025"));
    QTest::keyClick(admission, Qt::Key_Return);
    EXPECT_EQ(admission->date(), today().addYears(-1));
    EXPECT_EQ(statusLine(), QString());
    EXPECT_EQ(label(u"标签43")->text(), QStringLiteral("共计365天"));
}

}  // namespace
