#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>

#include "billing/main_window_fixture.h"

namespace {

TEST_F(MainWindowTest, SitsAtItsDesignedPlaceWithItsControls) {
    EXPECT_EQ(window->pos(), QPoint(50, 50));
    EXPECT_EQ(window->centralWidget()->size(), QSize(634, 409));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("医院（住院）计费系统"));

    const struct {
        const char16_t* name;
        QRect geometry;
    } controls[] = {
        {u"编辑框1", {60, 10, 60, 20}},    {u"编辑框26", {60, 40, 60, 20}},
        {u"日期框1", {205, 40, 110, 20}},  {u"日期框2", {415, 40, 110, 20}},
        {u"标签43", {555, 40, 60, 20}},    {u"编辑框2", {60, 100, 60, 20}},
        {u"编辑框5", {60, 200, 60, 20}},   {u"编辑框6", {185, 100, 60, 20}},
        {u"编辑框13", {310, 200, 60, 20}}, {u"编辑框19", {435, 200, 60, 20}},
        {u"编辑框22", {560, 163, 60, 20}}, {u"标签36", {510, 163, 40, 20}},
        {u"编辑框23", {560, 200, 60, 20}}, {u"编辑框27", {80, 230, 70, 20}},
        {u"标签44", {165, 230, 450, 20}},  {u"编辑框24", {80, 265, 70, 20}},
        {u"编辑框25", {80, 300, 70, 20}},  {u"编辑框28", {300, 300, 70, 20}},
        {u"编辑框29", {560, 300, 70, 20}}, {u"按钮3", {20, 335, 80, 40}},
        {u"按钮1", {260, 335, 80, 40}},    {u"按钮2", {530, 335, 80, 40}},
        {u"标签2", {0, 389, 134, 20}},     {u"标签1", {134, 389, 500, 20}},
        {u"外形框11", {0, 5, 634, 383}},   {u"外形框7", {125, 66, 2, 159}},
    };
    for (const auto& control : controls) {
        const auto* widget = window->findChild<QWidget*>(QString::fromUtf16(control.name));
        ASSERT_NE(widget, nullptr) << QString::fromUtf16(control.name).toStdString();
        EXPECT_EQ(widget->geometry(), control.geometry)
            << QString::fromUtf16(control.name).toStdString();
    }
    EXPECT_EQ(label(u"标签12")->text(), QStringLiteral("ＣＴ"));
    EXPECT_EQ(label(u"标签46")->text(), QStringLiteral("其　他"));
    EXPECT_EQ(label(u"标签38")->text(), QStringLiteral("合　　计"));
    EXPECT_EQ(box(u"编辑框23")->text(), QStringLiteral("100"));
    for (const char16_t* disabled : {u"编辑框23", u"编辑框27", u"编辑框28", u"编辑框29"}) {
        EXPECT_FALSE(box(disabled)->isEnabled());
    }
}

TEST_F(MainWindowTest, MenuBarCarriesItsCommandsInOrder) {
    const QList<QAction*> menus = window->menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("系统"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("帮助"));
    QStringList systemItems;
    for (const QAction* item : menus[0]->menu()->actions()) {
        systemItems << (item->isSeparator() ? QStringLiteral("-") : item->text());
    }
    EXPECT_EQ(systemItems.join(u' '), QStringLiteral("统计 查询 交班 预交 - 修改 - 登录 - 退出"));
    ASSERT_EQ(menus[1]->menu()->actions().size(), 1);
    EXPECT_EQ(menus[1]->menu()->actions()[0]->text(), QStringLiteral("关于"));
}

TEST_F(MainWindowTest, TabRunsThroughTheFormInOrderOneControlAPress) {
    QStringList visited;
    widget_driver::focus(box(u"编辑框1"));
    for (int step = 0; step < 28; ++step) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(visited.join(u' '),
              QStringLiteral("编辑框1 编辑框26 日期框1 日期框2 编辑框2 编辑框3 编辑框4 编辑框5 "
                             "编辑框6 编辑框7 编辑框8 编辑框9 编辑框10 编辑框11 编辑框12 编辑框13 "
                             "编辑框14 编辑框15 编辑框16 编辑框19 编辑框20 编辑框21 编辑框22 "
                             "编辑框24 编辑框25 按钮1 按钮2 按钮3"));

    visited.clear();
    widget_driver::focus(box(u"编辑框2"));
    for (int step = 0; step < 3; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited.join(u' '), QStringLiteral("日期框2 日期框1 编辑框26"));
}

TEST_F(MainWindowTest, CloseRequestLeavesTheWindowOpen) {
    widget_driver::typeInto(box(u"编辑框1"), QStringLiteral("张三"));
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(box(u"编辑框1")->text(), QStringLiteral("张三"));
}

TEST_F(MainWindowTest, NewReceiptEmptiesTheFormAndEndsModification) {
    widget_driver::typeAndLeave(box(u"编辑框1"), QStringLiteral("张三"));
    widget_driver::typeAndLeave(box(u"编辑框26"), QStringLiteral("123"));
    widget_driver::typeAndLeave(box(u"编辑框2"), QStringLiteral("100"));
    widget_driver::typeAndLeave(box(u"编辑框24"), QStringLiteral("50"));
    dateBox(u"日期框1")->setDate(today().addDays(-9));
    dateBox(u"日期框2")->setDate(today().addDays(-5));
    window->receipt().isModifyMode = 1;
    window->setCalculateAndPrintEnabled(false);
    clock.set(QDateTime(today().addDays(1), QTime(8, 0)));

    button(u"按钮3")->click();

    for (const char16_t* name : {u"编辑框1", u"编辑框26", u"编辑框2", u"编辑框24", u"编辑框25"}) {
        EXPECT_EQ(box(name)->text(), QString()) << QString::fromUtf16(name).toStdString();
    }
    EXPECT_EQ(dateBox(u"日期框1")->date(), today().addDays(1));
    EXPECT_EQ(dateBox(u"日期框2")->date(), today().addDays(1));
    EXPECT_EQ(label(u"标签43")->text(), QStringLiteral("共计1天"));
    EXPECT_EQ(box(u"编辑框27")->text(), QStringLiteral("0"));
    EXPECT_EQ(statusLine(), QStringLiteral(" 欢迎使用本系统，请注意本行的提示信息！"));
    EXPECT_EQ(QApplication::focusWidget(), box(u"编辑框1"));
    EXPECT_TRUE(button(u"按钮1")->isEnabled());
    EXPECT_TRUE(button(u"按钮2")->isEnabled());
    EXPECT_EQ(window->receipt().isModifyMode, 0);
    EXPECT_EQ(box(u"编辑框23")->text(), QStringLiteral("100"));
}

}  // namespace
