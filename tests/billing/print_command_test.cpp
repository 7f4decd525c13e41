#include <QRegularExpression>

#include "receipt/fee_category.h"
#include "store/schema.h"
#include "support/billing_desk.h"

namespace {

using widgets::MessageAnswer;
using widgets::MessageIcon;

class PrintCommandTest : public BillingDeskTest {
protected:
    // The one message box the command showed, which must be a validation error.
    QString validationError() {
        EXPECT_EQ(messageBoxes.shown().size(), 1u);
        if (messageBoxes.shown().empty()) {
            return {};
        }
        const widgets::Message& message = messageBoxes.shown().front();
        EXPECT_EQ(message.title, QStringLiteral("错误信息："));
        EXPECT_EQ(message.icon, MessageIcon::Stop);
        return message.text;
    }

    void expectNothingStoredOrPrinted() {
        EXPECT_TRUE(storedReceipts({QStringLiteral("住院号")}).isEmpty());
        EXPECT_TRUE(printer.calls.empty());
    }

    void storeOneReceipt(const QString& number) {
        typeReceipt(number, QStringLiteral("李四"), {{u"编辑框2", QStringLiteral("10")}});
        print();
        messageBoxes.clear();
        printer.calls.clear();
    }
};

TEST_F(PrintCommandTest, RefusesAReceiptThatMayNotBeIssued) {
    const struct {
        const char* why;
        QString number;
        QString name;
        QList<std::pair<const char16_t*, QString>> amounts;
        QString message;
    } cases[] = {
        {"no number",
         {},
         QStringLiteral("张三"),
         {{u"编辑框2", QStringLiteral("10")}},
         QStringLiteral("住院号不能为空！")},
        {"no name",
         QStringLiteral("7"),
         QStringLiteral("  "),
         {{u"编辑框2", QStringLiteral("10")}},
         QStringLiteral("姓名不能为空！")},
        {"zero total",
         QStringLiteral("7"),
         QStringLiteral("张三"),
         {{u"编辑框24", QStringLiteral("500")}, {u"编辑框25", QStringLiteral("20")}},
         QStringLiteral("合计费用为零！")},
        {"total over the limit",
         QStringLiteral("7"),
         QStringLiteral("张三"),
         {{u"编辑框2", QStringLiteral("999999")}, {u"编辑框3", QStringLiteral("1")}},
         QStringLiteral("合计费用超额！请分开出据。")},
        {"negative total",
         QStringLiteral("7"),
         QStringLiteral("张三"),
         {{u"编辑框2", QStringLiteral("-5")}},
         QStringLiteral("金额输入错误！")},
        {"supplement over the limit",
         QStringLiteral("7"),
         QStringLiteral("张三"),
         {{u"编辑框2", QStringLiteral("50")}, {u"编辑框25", QStringLiteral("1000000")}},
         QStringLiteral("补收金额超额！")},
        {"supplement too large to hold",
         QStringLiteral("7"),
         QStringLiteral("张三"),
         {{u"编辑框2", QStringLiteral("50")},
          {u"编辑框25", QStringLiteral("123456789012345678901234567890")}},
         QStringLiteral("补收金额超额！")},
        {"negative supplement",
         QStringLiteral("7"),
         QStringLiteral("张三"),
         {{u"编辑框2", QStringLiteral("50")}, {u"编辑框25", QStringLiteral("-1")}},
         QStringLiteral("金额输入错误！")},
    };
    for (const auto& refused : cases) {
        SCOPED_TRACE(refused.why);
        window().newReceipt();
        messageBoxes.clear();
        typeReceipt(refused.number, refused.name, refused.amounts);

        print();

        EXPECT_EQ(validationError(), refused.message);
        expectNothingStoredOrPrinted();
        EXPECT_EQ(box(u"编辑框1")->text(), refused.name);
        EXPECT_EQ(box(u"编辑框26")->text(), refused.number);
        for (const auto& [boxName, amount] : refused.amounts) {
            EXPECT_EQ(box(boxName)->text(), amount) << "typed whole";
        }
    }
}

TEST_F(PrintCommandTest, AStoredNumberIsRefusedBeforeABlankName) {
    storeOneReceipt(QStringLiteral("123"));
    typeReceipt(QStringLiteral("123"), QString(), {{u"编辑框2", QStringLiteral("10")}});
    print();
    // The second line names who issued the number and when, from the journal.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^票据已存在！\n这个住院号的收据由收费员491MX于"
                                                  "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d开具。$"))
                    .match(validationError())
                    .hasMatch())
        << messageBoxes.shown().front().text.toStdString();

    window().newReceipt();
    messageBoxes.clear();
    typeReceipt(QStringLiteral("123"), QStringLiteral("王五"),
                {{u"编辑框2", QStringLiteral("10")}});
    box(u"编辑框26")->setText(QStringLiteral("1234"));
    print();
    EXPECT_EQ(storedReceipts({QStringLiteral("住院号")}).size(), 2);
}

TEST_F(PrintCommandTest, TotalsAtTheLimitAndNegativeFeesWithinAPositiveTotalPass) {
    const QList<QList<std::pair<const char16_t*, QString>>> accepted = {
        {{u"编辑框2", QStringLiteral("999999.5")}},
        {{u"编辑框2", QStringLiteral("999999")}, {u"编辑框3", QStringLiteral("0.99")}},
        {{u"编辑框2", QStringLiteral("100")}, {u"编辑框3", QStringLiteral("-5")}},
    };
    int number = 1;
    for (const auto& amounts : accepted) {
        typeReceipt(QString::number(number++), QStringLiteral("张三"), amounts);
        print();
        ASSERT_EQ(messageBoxes.shown().size(), 1u);
        EXPECT_EQ(messageBoxes.shown().front().text, QStringLiteral("请放好空白票据！"));
        messageBoxes.clear();
    }
    EXPECT_EQ(storedReceipts({QStringLiteral("住院号")}).size(), 3);
}

TEST_F(PrintCommandTest, CancelKeepsTheWindowAsTyped) {
    typeReceipt(QStringLiteral("88"), QStringLiteral("张三"),
                {{u"编辑框2", QStringLiteral("120.5")}});

    print(MessageAnswer::Cancel);

    ASSERT_EQ(messageBoxes.shown().size(), 1u);
    const widgets::Message& question = messageBoxes.shown().front();
    EXPECT_EQ(question.text, QStringLiteral("请放好空白票据！"));
    EXPECT_EQ(question.title, QStringLiteral("打印"));
    EXPECT_EQ(question.icon, MessageIcon::Warning);
    EXPECT_EQ(question.buttons, widgets::MessageButtons::OkCancel);
    expectNothingStoredOrPrinted();
    EXPECT_EQ(box(u"编辑框2")->text(), QStringLiteral("120.5"));
    EXPECT_EQ(box(u"编辑框27")->text(), QStringLiteral("120.5"));
}

TEST_F(PrintCommandTest, IssuedReceiptIsStoredWholeThenPrintedAndTheWindowEmptied) {
    dateBox(u"日期框1")->setDate(today().addDays(-4));
    typeReceipt(QStringLiteral("2026001"), QStringLiteral("张 三"),
                {{u"编辑框2", QStringLiteral("100")},
                 {u"编辑框3", QStringLiteral("23.5")},
                 {u"编辑框22", QStringLiteral("150000.1")},
                 {u"编辑框24", QStringLiteral("50")},
                 {u"编辑框25", QStringLiteral("60.4")}});

    print();

    QStringList fields{QStringLiteral("住院号"), QStringLiteral("姓名"), QStringLiteral("入院日期"),
                       QStringLiteral("出院日期")};
    for (const receipt::FeeCategory& category : receipt::kFeeCategories) {
        fields << category.fieldName.toString();
    }
    fields << QStringLiteral("备用") << QStringLiteral("合计") << QStringLiteral("预交")
           << QStringLiteral("补收") << QStringLiteral("退款") << QStringLiteral("欠费")
           << QStringLiteral("收费员");
    const QList<QVariantMap> stored = storedReceipts(fields);
    ASSERT_EQ(stored.size(), 1);
    const QVariantMap& receipt = stored.front();
    EXPECT_EQ(receipt[QStringLiteral("住院号")], QStringLiteral("2026001"));
    EXPECT_EQ(receipt[QStringLiteral("姓名")], QStringLiteral("张 三"));
    EXPECT_EQ(receipt[QStringLiteral("入院日期")], QDateTime(today().addDays(-4), QTime(0, 0)));
    EXPECT_EQ(receipt[QStringLiteral("出院日期")], QDateTime(today(), QTime(0, 0)));
    EXPECT_EQ(receipt[QStringLiteral("床位费")].value<common::Money>(), common::yuan(100));
    EXPECT_EQ(receipt[QStringLiteral("诊金")].value<common::Money>(), common::yuan(23.5));
    EXPECT_EQ(receipt[QStringLiteral("杂费")].value<common::Money>(), common::yuan(150000.1));
    EXPECT_EQ(receipt[QStringLiteral("治疗费")].value<common::Money>(), common::Money());
    EXPECT_EQ(receipt[QStringLiteral("备用")].value<common::Money>(), common::Money());
    EXPECT_EQ(receipt[QStringLiteral("合计")].value<common::Money>(), common::yuan(150123.6));
    EXPECT_EQ(receipt[QStringLiteral("预交")].value<common::Money>(), common::yuan(50));
    EXPECT_EQ(receipt[QStringLiteral("补收")].value<common::Money>(), common::yuan(60.4));
    EXPECT_EQ(receipt[QStringLiteral("退款")].value<common::Money>(), common::Money());
    EXPECT_EQ(receipt[QStringLiteral("欠费")].value<common::Money>(), common::yuan(150013.2));
    EXPECT_EQ(receipt[QStringLiteral("收费员")], QStringLiteral("491MX"));

    ASSERT_EQ(printer.calls.size(), 52u);
    EXPECT_EQ(printer.calls.front().text, QStringLiteral("2026001"));
    EXPECT_EQ(printer.calls[1].setting, 9);
    EXPECT_EQ(printer.placedTexts().size(), 49u);
    EXPECT_EQ(printer.placedTexts()[2].text, QStringLiteral("张 三"));
    EXPECT_EQ(printer.calls.back().operation, support::RecordingPrinter::Operation::EndJob);

    EXPECT_EQ(box(u"编辑框1")->text(), QString());
    EXPECT_EQ(box(u"编辑框26")->text(), QString());
    EXPECT_EQ(box(u"编辑框2")->text(), QString());
    EXPECT_EQ(statusLine(), QStringLiteral(" 欢迎使用本系统，请注意本行的提示信息！"));
}

TEST_F(PrintCommandTest, ASaveThatFailsPrintsNothingAndKeepsTheReceipt) {
    typeReceipt(QStringLiteral("55"), QStringLiteral("张三"), {{u"编辑框2", QStringLiteral("80")}});
    // Another program's rule that refuses every new receipt, as a full disk would.
    runSql(
        QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON MZY "
                       "BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END"));

    print();

    ASSERT_EQ(messageBoxes.shown().size(), 2u);
    const widgets::Message& failure = messageBoxes.shown().back();
    EXPECT_EQ(failure.icon, MessageIcon::Stop);
    EXPECT_TRUE(failure.text.startsWith(QStringLiteral("收据没有保存，也没有打印。")))
        << failure.text.toStdString();
    EXPECT_TRUE(failure.text.contains(QStringLiteral("disk I/O error")));
    expectNothingStoredOrPrinted();
    EXPECT_EQ(box(u"编辑框26")->text(), QStringLiteral("55"));
    EXPECT_EQ(box(u"编辑框2")->text(), QStringLiteral("80"));
}

TEST_F(PrintCommandTest, APrintThatFailsAfterTheSaveSaysTheReceiptIsStored) {
    printer.outcome = {false,
                       {},
                       QStringLiteral("/srv/receipts/66.pdf"),
                       QStringLiteral("收据没有送到打印机“前台”。")};
    typeReceipt(QStringLiteral("66"), QStringLiteral("张三"), {{u"编辑框2", QStringLiteral("80")}});

    print();

    ASSERT_EQ(messageBoxes.shown().size(), 2u);
    const QString& text = messageBoxes.shown().back().text;
    EXPECT_TRUE(text.contains(QStringLiteral("收据已保存")));
    EXPECT_TRUE(text.contains(QStringLiteral("/srv/receipts/66.pdf")));
    EXPECT_EQ(storedReceipts({QStringLiteral("住院号")}).size(), 1);
}

TEST_F(PrintCommandTest, WithoutAPrinterTheCashierIsToldWhereThePdfIs) {
    printer.outcome = {true, {}, QStringLiteral("/srv/receipts/67.pdf"), {}};
    typeReceipt(QStringLiteral("67"), QStringLiteral("张三"), {{u"编辑框2", QStringLiteral("80")}});

    print();

    ASSERT_EQ(messageBoxes.shown().size(), 2u);
    EXPECT_EQ(messageBoxes.shown().back().icon, MessageIcon::Information);
    EXPECT_TRUE(messageBoxes.shown().back().text.contains(QStringLiteral("/srv/receipts/67.pdf")));
}

}  // namespace
