#include <QAction>

#include "support/billing_desk.h"
#include "support/focus_borrowers.h"
#include "support/modal_driver.h"

namespace {

using widget_driver::typeAndLeave;

class ReceiptModificationTest : public BillingDeskTest {
protected:
    void issue(const QString& number, const QString& name, const QString& bedFee,
               const QString& deposit) {
        typeReceipt(number, name, {{u"编辑框2", bedFee}, {u"编辑框24", deposit}});
        print();
        messageBoxes.clear();
        printer.calls.clear();
    }

    void startModification() { window().modifyAction()->trigger(); }

    // Types the number into the inpatient-number box and tabs out of it.
    void callBack(const QString& number) { typeAndLeave(box(u"编辑框26"), number); }

    bool buttonsEnabled() { return button(u"按钮1")->isEnabled() && button(u"按钮2")->isEnabled(); }
    bool buttonsDisabled() {
        return !button(u"按钮1")->isEnabled() && !button(u"按钮2")->isEnabled();
    }
};

TEST_F(ReceiptModificationTest, StartingAsksForTheNumberAndDisablesPrinting) {
    typeAndLeave(box(u"编辑框1"), QStringLiteral("留下"));
    startModification();
    EXPECT_EQ(statusLine(), QStringLiteral("请输入要修改收据的住院号，并按'Tab'键。"));
    EXPECT_EQ(QApplication::focusWidget(), box(u"编辑框26"));
    EXPECT_TRUE(buttonsDisabled());
    EXPECT_TRUE(button(u"按钮3")->isEnabled());
    EXPECT_EQ(window().receipt().isModifyMode, 1);
    EXPECT_EQ(box(u"编辑框1")->text(), QStringLiteral("留下"));
}

TEST_F(ReceiptModificationTest, FailedLoadsSayWhyAndKeepTheWindow) {
    issue(QStringLiteral("300"), QStringLiteral("王五"), QStringLiteral("90"), QStringLiteral("0"));
    shell->beginWork(QStringLiteral("赵六"));
    typeAndLeave(box(u"编辑框1"), QStringLiteral("未存"));

    const struct {
        QString number;
        QString status;
    } cases[] = {
        {QStringLiteral("301"), QStringLiteral("没有找到这张收据！")},
        {QStringLiteral("300"), QStringLiteral("这张收据的收费员为491MX，请重新登录！")},
        {QString(), QStringLiteral("住院号为空！")},
    };
    startModification();
    for (const auto& failure : cases) {
        callBack(failure.number);
        EXPECT_EQ(statusLine(), failure.status);
        EXPECT_TRUE(buttonsDisabled());
        EXPECT_EQ(box(u"编辑框1")->text(), QStringLiteral("未存"));
        EXPECT_EQ(box(u"编辑框2")->text(), QString());
        EXPECT_EQ(window().receipt().isModifyMode, 1);
    }
}

TEST_F(ReceiptModificationTest, LoadBringsTheStoredReceiptBackExactly) {
    // Stored dates with the admission after the discharge, as only another program could store.
    issue(QStringLiteral("400"), QStringLiteral("钱七"), QStringLiteral("100"),
          QStringLiteral("30"));
    runSql(
        QStringLiteral("UPDATE MZY SET 入院日期 = '2026-03-08 00:00:00', "
                       "出院日期 = '2026-03-05 00:00:00', 补收 = 20"));

    startModification();
    callBack(QStringLiteral("400"));

    EXPECT_EQ(statusLine(), QString());
    EXPECT_EQ(QApplication::focusWidget(), box(u"编辑框1"));
    EXPECT_TRUE(buttonsEnabled());
    EXPECT_EQ(box(u"编辑框1")->text(), QStringLiteral("钱七"));
    EXPECT_EQ(dateBox(u"日期框1")->date(), QDate(2026, 3, 8));
    EXPECT_EQ(dateBox(u"日期框2")->date(), QDate(2026, 3, 5));
    EXPECT_EQ(box(u"编辑框2")->text(), QStringLiteral("100"));
    EXPECT_EQ(box(u"编辑框3")->text(), QStringLiteral("0"));
    EXPECT_EQ(box(u"编辑框24")->text(), QStringLiteral("30"));
    EXPECT_EQ(box(u"编辑框25")->text(), QStringLiteral("20"));
    EXPECT_EQ(box(u"编辑框27")->text(), QStringLiteral("100"));
    EXPECT_EQ(box(u"编辑框29")->text(), QStringLiteral("50"));
    EXPECT_EQ(box(u"编辑框28")->text(), QStringLiteral("0"));

    typeAndLeave(box(u"编辑框2"), QStringLiteral("999"));
    callBack(QStringLiteral("400"));
    EXPECT_EQ(box(u"编辑框2")->text(), QStringLiteral("100"));
}

TEST_F(ReceiptModificationTest, MenusAndPopupsNeitherLoadNorReloadOnlyLeavingTheBoxDoes) {
    issue(QStringLiteral("450"), QStringLiteral("郑一"), QStringLiteral("60"), QStringLiteral("0"));
    widget_driver::chooseMenuItem(window(), QStringLiteral("系统"), QStringLiteral("修改"));
    const QString prompt = statusLine();
    widget_driver::typeInto(box(u"编辑框26"), QStringLiteral("450"));
    for (const FocusBorrower& borrower : focusBorrowers()) {
        borrower.borrow(window(), *box(u"编辑框26"));
        EXPECT_EQ(QApplication::focusWidget(), box(u"编辑框26")) << borrower.name;
        EXPECT_EQ(statusLine(), prompt) << borrower.name;
        EXPECT_EQ(box(u"编辑框1")->text(), QString()) << borrower.name;
    }
    widget_driver::leave(box(u"编辑框26"));
    EXPECT_EQ(box(u"编辑框1")->text(), QStringLiteral("郑一"));
}

TEST_F(ReceiptModificationTest, LongStoredAmountsAreShownWholeAndStoredAgainUnchanged) {
    issue(QStringLiteral("460"), QStringLiteral("王一"), QStringLiteral("60"), QStringLiteral("0"));
    runSql(QStringLiteral(
        "UPDATE MZY SET 床位费 = 123456.25, 预交 = 1234567.5, 补收 = 12345678901.5"));
    startModification();
    callBack(QStringLiteral("460"));
    EXPECT_EQ(box(u"编辑框2")->text(), QStringLiteral("123456.25"));
    EXPECT_EQ(box(u"编辑框24")->text(), QStringLiteral("1234567.5"));
    EXPECT_EQ(box(u"编辑框25")->text(), QStringLiteral("12345678901.5"));

    print();
    const QList<QVariantMap> stored =
        storedReceipts({QStringLiteral("床位费"), QStringLiteral("预交"), QStringLiteral("补收")});
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored[0][QStringLiteral("床位费")].value<common::Money>(), common::yuan(123456.25));
    EXPECT_EQ(stored[0][QStringLiteral("预交")].value<common::Money>(), common::yuan(1234567.5));
    EXPECT_EQ(stored[0][QStringLiteral("补收")].value<common::Money>(),
              common::yuan(12345678901.5));

    // The cashier may shorten such an amount, not lengthen it again beyond the box's limit.
    startModification();
    callBack(QStringLiteral("460"));
    QLineEdit* bedFee = box(u"编辑框2");
    widget_driver::focus(bedFee);
    QTest::keyClick(bedFee, Qt::Key_End);
    QTest::keyClick(bedFee, Qt::Key_Backspace);
    QTest::keyClick(bedFee, Qt::Key_Backspace);
    EXPECT_EQ(bedFee->text(), QStringLiteral("123456."));
    QTest::keyClicks(bedFee, QStringLiteral("255"));
    EXPECT_EQ(bedFee->text(), QStringLiteral("123456.2"));
}

TEST_F(ReceiptModificationTest, LeavingTheNumberBoxOutsideModificationLoadsNothing) {
    issue(QStringLiteral("500"), QStringLiteral("孙八"), QStringLiteral("70"), QStringLiteral("0"));
    callBack(QStringLiteral("500"));
    EXPECT_EQ(box(u"编辑框1")->text(), QString());
    EXPECT_EQ(box(u"编辑框2")->text(), QString());
    EXPECT_EQ(statusLine(), QStringLiteral(" 欢迎使用本系统，请注意本行的提示信息！"));
}

TEST_F(ReceiptModificationTest, OpeningTheLoginFromTheNumberBoxStartsNoLoad) {
    issue(QStringLiteral("600"), QStringLiteral("周九"), QStringLiteral("70"), QStringLiteral("0"));
    startModification();
    widget_driver::typeInto(box(u"编辑框26"), QStringLiteral("600"));

    QString statusWhileLoginOpen;
    QString nameWhileLoginOpen;
    giveFirstCashierHisOwnPassword();
    modal_driver::whenModalOpens([&](QWidget* login) {
        statusWhileLoginOpen = statusLine();
        nameWhileLoginOpen = box(u"编辑框1")->text();
        login->findChild<QLineEdit*>(QStringLiteral("编辑框1"))->setText(kFirstCashierPassword);
        login->findChild<QPushButton*>(QStringLiteral("按钮1"))->click();
    });
    window().loginAction()->trigger();

    EXPECT_EQ(statusWhileLoginOpen, QStringLiteral("请输入要修改收据的住院号，并按'Tab'键。"));
    EXPECT_EQ(nameWhileLoginOpen, QString());
    EXPECT_EQ(window().receipt().isModifyMode, 0);
}

TEST_F(ReceiptModificationTest, NewReceiptEndsModificationInEitherState) {
    issue(QStringLiteral("700"), QStringLiteral("吴十"), QStringLiteral("70"), QStringLiteral("0"));
    startModification();
    button(u"按钮3")->click();
    EXPECT_EQ(window().receipt().isModifyMode, 0);
    EXPECT_TRUE(buttonsEnabled());

    startModification();
    callBack(QStringLiteral("700"));
    ASSERT_EQ(box(u"编辑框1")->text(), QStringLiteral("吴十"));
    button(u"按钮3")->click();
    EXPECT_EQ(window().receipt().isModifyMode, 0);
    EXPECT_TRUE(buttonsEnabled());
    EXPECT_EQ(box(u"编辑框1")->text(), QString());
}

TEST_F(ReceiptModificationTest, CorrectedReceiptIsRewrittenInPlaceAndTheOldOneKept) {
    issue(QStringLiteral("801"), QStringLiteral("甲"), QStringLiteral("10"), QStringLiteral("0"));
    issue(QStringLiteral("802"), QStringLiteral("乙"), QStringLiteral("20"), QStringLiteral("0"));
    issue(QStringLiteral("803"), QStringLiteral("丙"), QStringLiteral("30"), QStringLiteral("0"));

    startModification();
    callBack(QStringLiteral("802"));
    typeAndLeave(box(u"编辑框3"), QStringLiteral("5.5"));
    print();

    const QList<QVariantMap> stored =
        storedReceipts({QStringLiteral("住院号"), QStringLiteral("诊金"), QStringLiteral("合计"),
                        QStringLiteral("备用"), QStringLiteral("欠费")});
    ASSERT_EQ(stored.size(), 3);
    EXPECT_EQ(stored[1][QStringLiteral("住院号")], QStringLiteral("802"));
    EXPECT_EQ(stored[1][QStringLiteral("诊金")].value<common::Money>(), common::yuan(5.5));
    EXPECT_EQ(stored[1][QStringLiteral("合计")].value<common::Money>(), common::yuan(25.5));
    EXPECT_EQ(stored[1][QStringLiteral("欠费")].value<common::Money>(), common::yuan(25.5));
    EXPECT_EQ(stored[1][QStringLiteral("备用")].value<common::Money>(), common::yuan(0.0));
    EXPECT_EQ(printer.placedTexts().front().text, QStringLiteral("802"));
    EXPECT_EQ(window().receipt().isModifyMode, 0);

    store::Table history(database());
    ASSERT_TRUE(history.open(QStringLiteral("MZY_history"))) << history.lastError().toStdString();
    ASSERT_FALSE(history.pastLast());
    EXPECT_EQ(history.readField(u"住院号"), QStringLiteral("802"));
    EXPECT_EQ(history.readField(u"合计").value<common::Money>(), common::yuan(20.0));
    history.skip();
    EXPECT_TRUE(history.pastLast());
}

TEST_F(ReceiptModificationTest, AReceiptGoneSinceItWasLoadedIsNotRewritten) {
    issue(QStringLiteral("901"), QStringLiteral("甲"), QStringLiteral("10"), QStringLiteral("0"));
    issue(QStringLiteral("902"), QStringLiteral("乙"), QStringLiteral("20"), QStringLiteral("0"));
    startModification();
    callBack(QStringLiteral("901"));
    runSql(QStringLiteral("DELETE FROM MZY WHERE 住院号 = '901'"));

    print();

    ASSERT_FALSE(messageBoxes.shown().empty());
    EXPECT_EQ(messageBoxes.shown().back().text,
              QStringLiteral("要修改的收据已不在收据表中，没有保存，也没有打印。"));
    const QList<QVariantMap> stored =
        storedReceipts({QStringLiteral("住院号"), QStringLiteral("合计")});
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored[0][QStringLiteral("合计")].value<common::Money>(), common::yuan(20.0));
    EXPECT_TRUE(printer.calls.empty());
    EXPECT_EQ(box(u"编辑框1")->text(), QStringLiteral("甲"));
}

}  // namespace
