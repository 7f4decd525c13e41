#include <QTimer>

#include "store/receipt_record.h"
#include "store/receipt_saving.h"
#include "support/billing_desk.h"
#include "support/modal_driver.h"

namespace {

using common::yuan;
using widget_driver::typeAndLeave;
using widgets::MessageAnswer;

// One desk driven through its windows, on each engine; a second desk is another connection to the
// same database that stores and corrects receipts while the first desk's cashier is asked a
// question.
class SharedDeskTest : public EngineProgramTest {
protected:
    void SetUp() override {
        EngineProgramTest::SetUp();
        logInFirstCashierWhenAsked();
        ASSERT_TRUE(shell->start());
        widget_driver::showActive(window());
    }

    // Stores a receipt from the other desk, as its cashier would.
    void storeElsewhere(const QString& number, const QString& name) {
        receipt::ReceiptState state;
        state.bedFee = state.totalAmount = yuan(999);
        state.currentCashier = QStringLiteral("491MX");
        const QDateTime day(today(), QTime(0, 0));
        store::Database otherDesk(databaseLocation());
        ASSERT_EQ(store::saveNewReceipt(otherDesk,
                                        store::receiptRecordValues(number, name, day, day, state))
                      .outcome,
                  store::SaveOutcome::Saved);
    }

    void chooseMenu(const QString& title, const QString& item) {
        widget_driver::chooseMenuItem(window(), title, item);
    }

    QStringList storedNames() {
        QStringList names;
        for (const QVariantMap& receipt : storedReceipts({QStringLiteral("姓名")})) {
            names.append(receipt[QStringLiteral("姓名")].toString());
        }
        return names;
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, SharedDeskTest,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

TEST_P(SharedDeskTest, IssueCorrectAndSumAReceiptThroughTheWindows) {
    typeReceipt(QStringLiteral("2026001"), QStringLiteral("王小明"),
                {{u"编辑框2", QStringLiteral("150000.1")}, {u"编辑框24", QStringLiteral("200")}});
    print();
    ASSERT_EQ(printer.placedTexts().size(), 49u);
    EXPECT_EQ(printer.placedTexts()[4].text, QStringLiteral("150000.1"));

    chooseMenu(QStringLiteral("系统"), QStringLiteral("修改"));
    typeAndLeave(box(u"编辑框26"), QStringLiteral("2026001"));
    EXPECT_EQ(box(u"编辑框1")->text(), QStringLiteral("王小明"));
    typeAndLeave(box(u"编辑框3"), QStringLiteral("0.2"));
    print();
    EXPECT_EQ(printer.placedTexts().size(), 98u) << "printed again";
    EXPECT_EQ(window().receipt().isModifyMode, 0);

    messageBoxes.clear();
    modal_driver::whenModalOpens([](QWidget* statistics) {
        statistics->findChild<QPushButton*>(QStringLiteral("按钮1"))->click();
        statistics->close();
    });
    chooseMenu(QStringLiteral("系统"), QStringLiteral("统计"));
    ASSERT_EQ(messageBoxes.shown().size(), 1u);
    const QStringList report = messageBoxes.shown().front().text.split(QStringLiteral("\r\n"));
    EXPECT_EQ(report.at(0), QStringLiteral("共有：1单"));
    EXPECT_EQ(report.at(2), QStringLiteral("床位费：150000.1元"));
    EXPECT_EQ(report.at(3), QStringLiteral("诊　金：0.2元"));
    EXPECT_EQ(report.at(22), QStringLiteral("合计：150000.3元"));
    EXPECT_EQ(report.at(24), QStringLiteral("累计欠费：149800.3元"));
}

TEST_P(SharedDeskTest, ANumberStoredAtAnotherDeskWhileThePaperIsAskedForIsRefused) {
    typeReceipt(QStringLiteral("77"), QStringLiteral("甲桌病人"),
                {{u"编辑框2", QStringLiteral("100")}});
    messageBoxes.whileShown([this](const widgets::Message& message) {
        if (message.text == QStringLiteral("请放好空白票据！")) {
            storeElsewhere(QStringLiteral("77"), QStringLiteral("乙桌病人"));
        }
    });

    print();

    EXPECT_TRUE(messageBoxes.shown().back().text.startsWith(
        QStringLiteral("票据已存在！\n这个住院号的收据由收费员491MX于")))
        << messageBoxes.shown().back().text.toStdString();
    EXPECT_EQ(storedNames(), QStringList{QStringLiteral("乙桌病人")});
    EXPECT_TRUE(printer.calls.empty()) << "nobody's receipt is printed";
    EXPECT_EQ(box(u"编辑框1")->text(), QStringLiteral("甲桌病人"));
    EXPECT_EQ(box(u"编辑框2")->text(), QStringLiteral("100"));
}

TEST_P(SharedDeskTest, ACorrectionOfAReceiptChangedAtAnotherDeskIsRefused) {
    typeReceipt(QStringLiteral("88"), QStringLiteral("原名"),
                {{u"编辑框2", QStringLiteral("100")}});
    print();
    chooseMenu(QStringLiteral("系统"), QStringLiteral("修改"));
    typeAndLeave(box(u"编辑框26"), QStringLiteral("88"));
    typeAndLeave(box(u"编辑框1"), QStringLiteral("甲桌改名"));
    printer.calls.clear();
    messageBoxes.whileShown([this](const widgets::Message& message) {
        if (message.text == QStringLiteral("请放好空白票据！")) {
            runSql(QStringLiteral(R"(UPDATE "MZY" SET "姓名" = '乙桌改名')"));
        }
    });

    print();

    EXPECT_TRUE(messageBoxes.shown().back().text.contains(QStringLiteral("另一台收费机")))
        << messageBoxes.shown().back().text.toStdString();
    EXPECT_EQ(storedNames(), QStringList{QStringLiteral("乙桌改名")});
    EXPECT_TRUE(printer.calls.empty());
    EXPECT_EQ(box(u"编辑框1")->text(), QStringLiteral("甲桌改名"));
}

}  // namespace
