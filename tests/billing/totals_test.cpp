#include <QClipboard>

#include "billing/main_window_fixture.h"
#include "support/focus_borrowers.h"

namespace {

using widget_driver::typeAndLeave;

TEST_F(MainWindowTest, FeesAndDepositGiveTotalRefundAndWords) {
    typeAndLeave(box(u"编辑框2"), QStringLiteral("100"));
    typeAndLeave(box(u"编辑框3"), QStringLiteral("23.5"));
    typeAndLeave(box(u"编辑框24"), QStringLiteral("200"));

    EXPECT_EQ(box(u"编辑框27")->text(), QStringLiteral("123.5"));
    EXPECT_EQ(box(u"编辑框28")->text(), QStringLiteral("76.5"));
    EXPECT_EQ(box(u"编辑框29")->text(), QStringLiteral("0"));
    EXPECT_EQ(statusLine(), QStringLiteral("应退款76.5元"));
    EXPECT_EQ(label(u"标签44")->text(), QStringLiteral("壹佰贰拾叁元伍角整"));
    EXPECT_EQ(label(u"标签45")->text(), QStringLiteral("贰佰元整"));
    EXPECT_EQ(window->receipt().bedFee, common::yuan(100));
    EXPECT_EQ(window->receipt().totalAmount, common::yuan(123.5));
}

TEST_F(MainWindowTest, ShortfallIsWordedBySupplementaryPayment) {
    typeAndLeave(box(u"编辑框22"), QStringLiteral("500"));
    typeAndLeave(box(u"编辑框24"), QStringLiteral("300"));
    EXPECT_EQ(statusLine(), QStringLiteral("应补交200元"));
    EXPECT_EQ(box(u"编辑框29")->text(), QStringLiteral("200"));

    const struct {
        const char16_t* supplement;
        const char16_t* status;
        const char16_t* refund;
        const char16_t* arrears;
    } cases[] = {{u"150", u"欠费50元", u"0", u"50"},
                 {u"200", u"", u"0", u"0"},
                 {u"250", u"应退款50元", u"50", u"0"}};
    for (const auto& expected : cases) {
        typeAndLeave(box(u"编辑框25"), QString::fromUtf16(expected.supplement));
        EXPECT_EQ(statusLine(), QString::fromUtf16(expected.status));
        EXPECT_EQ(box(u"编辑框28")->text(), QString::fromUtf16(expected.refund));
        EXPECT_EQ(box(u"编辑框29")->text(), QString::fromUtf16(expected.arrears));
    }
}

TEST_F(MainWindowTest, AmountsAddUpExactlyToTheFen) {
    const struct {
        QList<const char16_t*> fees;
        const char16_t* deposit;
        const char16_t* total;
        const char16_t* status;
        const char16_t* words;
    } cases[] = {
        {{u"0.1", u"0.2"}, u"0.3", u"0.3", u"", u"叁角整"},
        {{u"100.1", u"200.2"}, u"300.3", u"300.3", u"", u"叁佰元叁角整"},
        {{u"150000.1"}, u"", u"150000.1", u"应补交150000.1元", u"壹拾伍万元壹角整"},
        {{u"99999999"}, u"99999999", u"99999999", u"", u"玖仟玖佰玖拾玖万玖仟玖佰玖拾玖元整"},
    };
    for (const auto& expected : cases) {
        button(u"按钮3")->click();
        const char16_t* feeBoxes[] = {u"编辑框2", u"编辑框3"};
        for (qsizetype i = 0; i < expected.fees.size(); ++i) {
            typeAndLeave(box(feeBoxes[i]), QString::fromUtf16(expected.fees[i]));
        }
        typeAndLeave(box(u"编辑框24"), QString::fromUtf16(expected.deposit));
        EXPECT_EQ(box(u"编辑框27")->text(), QString::fromUtf16(expected.total));
        EXPECT_EQ(statusLine(), QString::fromUtf16(expected.status));
        EXPECT_EQ(label(u"标签44")->text(), QString::fromUtf16(expected.words));
    }
}

TEST_F(MainWindowTest, LeavingAPaymentBoxDoesNotRereadTheFees) {
    typeAndLeave(box(u"编辑框2"), QStringLiteral("100"));
    widget_driver::typeInto(box(u"编辑框24"), QStringLiteral("100"));
    box(u"编辑框5")->setText(QStringLiteral("50"));  // a fee the focus has not left
    widget_driver::leave(box(u"编辑框24"));
    EXPECT_EQ(box(u"编辑框27")->text(), QStringLiteral("100"));
    EXPECT_EQ(statusLine(), QString());

    button(u"按钮1")->click();
    EXPECT_EQ(box(u"编辑框27")->text(), QStringLiteral("150"));
    EXPECT_EQ(statusLine(), QStringLiteral("应补交50元"));
}

TEST_F(MainWindowTest, EmptyBoxesCountAsZeroAndClearTheStatusLine) {
    window->setStatusLine(QStringLiteral("日期输入错误！"));
    button(u"按钮1")->click();
    EXPECT_EQ(box(u"编辑框27")->text(), QStringLiteral("0"));
    EXPECT_EQ(label(u"标签44")->text(), QStringLiteral("零元整"));
    EXPECT_EQ(statusLine(), QString());
}

TEST_F(MainWindowTest, AmountBoxesRefuseWhatIsNotAnAmount) {
    QLineEdit* fee = box(u"编辑框2");
    widget_driver::typeInto(fee, QStringLiteral("1a2-3.456e7"));
    EXPECT_EQ(fee->text(), QStringLiteral("123.45"));

    widget_driver::typeInto(fee, QStringLiteral("-12345678901"));
    EXPECT_EQ(fee->text(), QStringLiteral("-1234567"));

    // A paste that does not fit is refused whole, never cut to an amount nobody typed.
    const struct {
        const char16_t* typed;
        const char16_t* pasted;
        const char16_t* result;
    } pastes[] = {{u"", u"123456789012", u""},
                  {u"", u"12.345", u""},
                  {u"12345", u"6789", u"12345"},
                  {u"12345", u".67", u"12345.67"}};
    for (const auto& paste : pastes) {
        widget_driver::typeInto(fee, QString::fromUtf16(paste.typed));
        QApplication::clipboard()->setText(QString::fromUtf16(paste.pasted));
        QTest::keyClick(fee, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(fee->text(), QString::fromUtf16(paste.result));
    }

    widget_driver::typeInto(box(u"编辑框25"), QStringLiteral("12345678.5"));
    EXPECT_EQ(box(u"编辑框25")->text(), QStringLiteral("12345678.5"));

    widget_driver::typeInto(box(u"编辑框26"), QStringLiteral("12ab 3456789"));
    EXPECT_EQ(box(u"编辑框26")->text(), QStringLiteral("12345678"));
    box(u"编辑框26")->clear();
    QApplication::clipboard()->setText(QStringLiteral("123456789"));
    QTest::keyClick(box(u"编辑框26"), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box(u"编辑框26")->text(), QString());
}

TEST_F(MainWindowTest, MenusAndPopupsDoNotLeaveAnAmountBox) {
    for (const char16_t* name : {u"编辑框2", u"编辑框24"}) {
        widget_driver::typeInto(box(name), QStringLiteral("80"));
        const QString before = statusLine();
        for (const FocusBorrower& borrower : focusBorrowers()) {
            borrower.borrow(*window, *box(name));
            EXPECT_EQ(QApplication::focusWidget(), box(name)) << borrower.name;
            EXPECT_EQ(statusLine(), before) << borrower.name;
        }
        typeAndLeave(box(name), QStringLiteral("80"));
        EXPECT_NE(statusLine(), before);
    }
}

TEST_F(MainWindowTest, NameBoxHoldsEightBytes) {
    QLineEdit* name = box(u"编辑框1");
    widget_driver::typeInto(name, QStringLiteral("张三李四王"));
    EXPECT_EQ(name->text(), QStringLiteral("张三李四"));

    widget_driver::typeInto(name, QStringLiteral("Li Ming 张"));
    EXPECT_EQ(name->text(), QStringLiteral("Li Ming "));

    name->clear();
    name->insert(QStringLiteral("欧阳"));
    name->setCursorPosition(1);
    name->insert(QStringLiteral("王五赵六"));  // pasted into the middle: the paste is cut
    EXPECT_EQ(name->text(), QStringLiteral("欧王五阳"));
}

TEST_F(MainWindowTest, BadInputNeverShowsAWrongTotal) {
    typeAndLeave(box(u"编辑框2"), QStringLiteral("-"));
    typeAndLeave(box(u"编辑框3"), QStringLiteral("."));
    typeAndLeave(box(u"编辑框4"), QStringLiteral("9999999"));
    typeAndLeave(box(u"编辑框5"), QStringLiteral("-99999.5"));
    EXPECT_EQ(box(u"编辑框27")->text(), QStringLiteral("9899999.5"));
    EXPECT_EQ(label(u"标签44")->text(), QStringLiteral("玖佰捌拾玖万玖仟玖佰玖拾玖元伍角整"));
}

}  // namespace
