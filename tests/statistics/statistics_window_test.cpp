#include "statistics/statistics_window.h"

#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "statistics/receipt_fixture.h"
#include "support/fixed_clock.h"
#include "support/qt_printers.h"
#include "support/scripted_message_boxes.h"

namespace {

using common::yuan;

const QDate kToday(2024, 4, 15);

class StatisticsWindowTest : public ReceiptFixture {
protected:
    void SetUp() override {
        ReceiptFixture::SetUp();
        m_window =
            std::make_unique<statistics::StatisticsWindow>(m_messageBoxes, m_clock, database());
        m_window->show();
    }

    QDateEdit& firstDate() { return child<QDateEdit>("日期框1"); }
    QDateEdit& lastDate() { return child<QDateEdit>("日期框2"); }
    QLabel& prompt() { return child<QLabel>("标签3"); }
    QPushButton& runButton() { return child<QPushButton>("按钮1"); }

    // Sets the range as a cashier would, in the order that never puts the start after the end.
    void chooseRange(QDate first, QDate last) {
        if (first > lastDate().date()) {
            lastDate().setDate(last);
            firstDate().setDate(first);
        } else {
            firstDate().setDate(first);
            lastDate().setDate(last);
        }
        ASSERT_TRUE(runButton().isEnabled());
    }

    // Runs the statistics and returns the one message box it showed.
    widgets::Message run() {
        m_messageBoxes.clear();
        QTest::mouseClick(&runButton(), Qt::LeftButton);
        EXPECT_EQ(m_messageBoxes.shown().size(), 1u);
        return m_messageBoxes.shown().empty() ? widgets::Message{} : m_messageBoxes.shown().back();
    }

private:
    template <typename Control>
    Control& child(const char* name) {
        auto* control = m_window->findChild<Control*>(QString::fromUtf8(name));
        EXPECT_NE(control, nullptr) << name;
        return *control;
    }

    ScriptedMessageBoxes m_messageBoxes;
    FixedClock m_clock{QDateTime(kToday, QTime(16, 45, 10))};
    std::unique_ptr<statistics::StatisticsWindow> m_window;
};

const std::vector<StoredReceipt> kMarchReceipts = {
    {QStringLiteral("1001"),
     QDate(2024, 3, 1),
     {{QStringLiteral("床位费"), yuan(120)},
      {QStringLiteral("诊金"), yuan(15.5)},
      {QStringLiteral("西药费"), yuan(230.75)}},
     yuan(366.25),
     yuan(0)},
    {QStringLiteral("1002"),
     QDate(2024, 2, 29),
     {{QStringLiteral("床位费"), yuan(999)}},
     yuan(999),
     yuan(1)},
    {QStringLiteral("1003"),
     QDate(2024, 3, 31),
     {{QStringLiteral("床位费"), yuan(80)},
      {QStringLiteral("CT"), yuan(300)},
      {QStringLiteral("杂费"), yuan(2.3)}},
     yuan(382.3),
     yuan(50)},
    {QStringLiteral("1004"),
     QDate(2024, 4, 1),
     {{QStringLiteral("床位费"), yuan(777)}},
     yuan(777),
     yuan(0)},
    {QStringLiteral("1005"),
     QDate(2024, 3, 15),
     {{QStringLiteral("其它"), yuan(10)}, {QStringLiteral("特需服务费"), yuan(20.01)}},
     yuan(30.01),
     yuan(12.5)},
};

TEST_F(StatisticsWindowTest, OpensOnTodayWithThePromptAndTheButtonEnabled) {
    EXPECT_EQ(firstDate().dateTime(), QDateTime(kToday, QTime(0, 0)));
    EXPECT_EQ(lastDate().dateTime(), QDateTime(kToday, QTime(0, 0)));
    EXPECT_EQ(prompt().text(), QStringLiteral("请输入统计起止（出院）日期。"));
    EXPECT_TRUE(runButton().isEnabled());
}

TEST_F(StatisticsWindowTest, ReportsEveryReceiptOfTheRangeBothEndsIncluded) {
    store(kMarchReceipts);
    chooseRange(QDate(2024, 3, 1), QDate(2024, 3, 31));

    const widgets::Message result = run();

    const QString expected = QStringLiteral(
        "共有：3单\r\n"
        "──────────\r\n"
        "床位费：200元\r\n"
        "诊　金：15.5元\r\n"
        "治疗费：0元\r\n"
        "护理费：0元\r\n"
        "检查费：0元\r\n"
        "CT：300元\r\n"
        "MRI：0元\r\n"
        "手术费：0元\r\n"
        "化验费：0元\r\n"
        "西药费：230.75元\r\n"
        "中成药费：0元\r\n"
        "中草药费：0元\r\n"
        "其　他：10元\r\n"
        "麻　醉：0元\r\n"
        "材　料：0元\r\n"
        "陪　住：0元\r\n"
        "自费药品：0元\r\n"
        "特服费：20.01元\r\n"
        "杂费：2.3元\r\n"
        "──────────\r\n"
        "合计：778.56元\r\n"
        "──────────\r\n"
        "累计欠费：62.5元");
    EXPECT_EQ(result.text, expected);
    EXPECT_EQ(result.title, QStringLiteral("统计结果"));
    EXPECT_EQ(result.icon, widgets::MessageIcon::None);
    EXPECT_EQ(result.buttons, widgets::MessageButtons::Ok);
}

TEST_F(StatisticsWindowTest, ReceiptWithoutArrearsEndsAtTheTotal) {
    store(kMarchReceipts);
    chooseRange(QDate(2024, 3, 1), QDate(2024, 3, 1));

    const QString report = run().text;

    EXPECT_TRUE(report.startsWith(QStringLiteral("共有：1单\r\n"))) << report.toStdString();
    EXPECT_TRUE(report.endsWith(QStringLiteral("──────────\r\n合计：366.25元")))
        << report.toStdString();
}

TEST_F(StatisticsWindowTest, NegativeArrearsStillShowTheirLine) {
    store({{QStringLiteral("2001"),
            QDate(2024, 3, 10),
            {{QStringLiteral("床位费"), yuan(40)}},
            yuan(40),
            yuan(-20)},
           {QStringLiteral("2002"),
            QDate(2024, 3, 11),
            {{QStringLiteral("床位费"), yuan(60)}},
            yuan(60),
            yuan(5)}});
    chooseRange(QDate(2024, 3, 1), QDate(2024, 3, 31));

    const QString report = run().text;

    EXPECT_TRUE(report.endsWith(QStringLiteral("合计：100元\r\n──────────\r\n累计欠费：-15元")))
        << report.toStdString();
}

TEST_F(StatisticsWindowTest, EmptyTableOrEmptyRangeIsSorry) {
    const auto expectSorry = [](const widgets::Message& message) {
        EXPECT_EQ(message.text, QStringLiteral("没有这个时间段的收据。"));
        EXPECT_EQ(message.title, QStringLiteral("对不起"));
        EXPECT_EQ(message.icon, widgets::MessageIcon::Information);
    };
    chooseRange(QDate(2024, 3, 2), QDate(2024, 3, 14));
    expectSorry(run());

    store(kMarchReceipts);
    expectSorry(run());
}

TEST_F(StatisticsWindowTest, EndBeforeStartIsRepairedAndBlocksTheRunUntilAValidChange) {
    firstDate().setDate(QDate(2024, 3, 10));
    EXPECT_TRUE(prompt().text().isEmpty());

    lastDate().setDate(QDate(2024, 3, 5));
    EXPECT_EQ(lastDate().date(), QDate(2024, 3, 10));
    EXPECT_EQ(prompt().text(), QStringLiteral("日期输入错误！"));
    EXPECT_FALSE(runButton().isEnabled());

    lastDate().setDate(QDate(2024, 3, 20));
    EXPECT_TRUE(prompt().text().isEmpty());
    EXPECT_TRUE(runButton().isEnabled());

    firstDate().setDate(QDate(2024, 3, 25));
    EXPECT_EQ(firstDate().date(), QDate(2024, 3, 20));
    EXPECT_EQ(prompt().text(), QStringLiteral("日期输入错误！"));
    EXPECT_FALSE(runButton().isEnabled());
}

TEST(StatisticsWindow, UnreadableReceiptTableIsReportedAsAnError) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    store::Database database(folder.filePath(QStringLiteral("no-such-folder/billing.sqlite")));
    ScriptedMessageBoxes messageBoxes;
    FixedClock clock(QDateTime(kToday, QTime(9, 0)));
    statistics::StatisticsWindow window(messageBoxes, clock, database);
    window.show();

    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("按钮1")), Qt::LeftButton);

    ASSERT_EQ(messageBoxes.shown().size(), 1u);
    const widgets::Message& error = messageBoxes.shown().front();
    EXPECT_EQ(error.title, QStringLiteral("错误信息："));
    EXPECT_EQ(error.icon, widgets::MessageIcon::Stop);
    EXPECT_TRUE(error.text.contains(QStringLiteral("billing.sqlite"))) << error.text.toStdString();
}

}  // namespace
