#include <QAction>
#include <QComboBox>
#include <QProcess>
#include <QSignalSpy>

#include "store/cashier_password.h"
#include "support/billing_desk.h"
#include "support/modal_driver.h"

namespace {

using widget_driver::typeAndLeave;

class ProgramShellTest : public ProgramTest {
protected:
    static void quitWhenAsked() {
        modal_driver::whenModalOpens([](QWidget* login) {
            login->findChild<QPushButton*>(QStringLiteral("按钮2"))->click();
        });
    }
    QString cashierPanel() { return window().findChild<QLabel*>(QStringLiteral("标签2"))->text(); }
};

TEST_F(ProgramShellTest, ANewInstallationLogsInWithTheLoginsFirstTextsAndANewPassword) {
    const QString chosen = QStringLiteral("收费处 1");
    modal_driver::whenModalOpens([chosen](QWidget* login) {
        modal_driver::whenModalOpens([chosen](QWidget* newPassword) {
            for (const char16_t* box : {u"新密码", u"再输一次"}) {
                newPassword->findChild<QLineEdit*>(QString::fromUtf16(box))->setText(chosen);
            }
            newPassword->findChild<QPushButton*>(QStringLiteral("确定"))->click();
        });
        login->findChild<QPushButton*>(QStringLiteral("按钮1"))->click();
    });
    ASSERT_TRUE(shell->start());
    EXPECT_TRUE(store::passwordOpens(
        runSql(QStringLiteral(R"(SELECT "密码" FROM "USER")")).value(0).value(0), chosen));

    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(cashierPanel(), QStringLiteral(" 收费员：491MX"));
    EXPECT_EQ(window().receipt().currentCashier, QStringLiteral("491MX"));
    EXPECT_EQ(statusLine(), QStringLiteral(" 欢迎使用本系统，请注意本行的提示信息！"));
    EXPECT_EQ(dateBox(u"日期框1")->date(), today());
}

TEST_F(ProgramShellTest, QuittingTheFirstLoginEndsTheProgram) {
    QSignalSpy exitRequests(shell.get(), &app::ProgramShell::exitRequested);
    quitWhenAsked();
    EXPECT_FALSE(shell->start());
    EXPECT_EQ(exitRequests.count(), 1);
    EXPECT_FALSE(window().isVisible());
}

TEST_F(ProgramShellTest, LoggingInAgainReplacesTheCashierAndEmptiesTheForm) {
    runSql(QStringLiteral("INSERT INTO USER (收费员, 密码) VALUES ('李会计', 'abc')"));
    logInFirstCashierWhenAsked();
    ASSERT_TRUE(shell->start());
    widget_driver::showActive(window());
    typeAndLeave(box(u"编辑框1"), QStringLiteral("张三"));
    typeAndLeave(box(u"编辑框2"), QStringLiteral("100"));

    logInWhenAsked(QStringLiteral("李会计"), QStringLiteral("abc"));
    window().loginAction()->trigger();

    EXPECT_EQ(cashierPanel(), QStringLiteral(" 收费员：李会计"));
    EXPECT_EQ(window().receipt().currentCashier, QStringLiteral("李会计"));
    EXPECT_EQ(box(u"编辑框1")->text(), QString());
    EXPECT_EQ(box(u"编辑框2")->text(), QString());
}

TEST_F(ProgramShellTest, QuittingALaterLoginEndsTheProgramToo) {
    logInFirstCashierWhenAsked();
    ASSERT_TRUE(shell->start());
    QSignalSpy exitRequests(shell.get(), &app::ProgramShell::exitRequested);

    quitWhenAsked();
    window().loginAction()->trigger();

    EXPECT_EQ(exitRequests.count(), 1);
    EXPECT_EQ(window().receipt().currentCashier, QString());
}

TEST_F(ProgramShellTest, ExitFromTheMenuEndsTheProgram) {
    logInFirstCashierWhenAsked();
    ASSERT_TRUE(shell->start());
    QSignalSpy exitRequests(shell.get(), &app::ProgramShell::exitRequested);
    window().exitAction()->trigger();
    EXPECT_EQ(exitRequests.count(), 1);
    EXPECT_FALSE(window().isVisible());
}

TEST_F(ProgramShellTest, FromLoginToAPrintedReceipt) {
    logInFirstCashierWhenAsked();
    ASSERT_TRUE(shell->start());
    widget_driver::showActive(window());
    typeReceipt(QStringLiteral("1001"), QStringLiteral("王小明"),
                {{u"编辑框2", QStringLiteral("120.5")}, {u"编辑框24", QStringLiteral("200")}});

    print();

    const QList<QVariantMap> stored =
        storedReceipts({QStringLiteral("住院号"), QStringLiteral("姓名"), QStringLiteral("合计"),
                        QStringLiteral("退款"), QStringLiteral("收费员")});
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored[0][QStringLiteral("姓名")], QStringLiteral("王小明"));
    EXPECT_EQ(stored[0][QStringLiteral("合计")].value<common::Money>(), common::yuan(120.5));
    EXPECT_EQ(stored[0][QStringLiteral("退款")].value<common::Money>(), common::yuan(79.5));
    EXPECT_EQ(stored[0][QStringLiteral("收费员")], QStringLiteral("491MX"));
    EXPECT_EQ(printer.placedTexts().size(), 49u);
    EXPECT_EQ(box(u"编辑框1")->text(), QString());
    EXPECT_EQ(statusLine(), QStringLiteral(" 欢迎使用本系统，请注意本行的提示信息！"));
}

TEST_F(ProgramShellTest, StatisticsAndAboutReturnWithNothingChanged) {
    logInFirstCashierWhenAsked();
    ASSERT_TRUE(shell->start());
    widget_driver::showActive(window());
    window().modifyAction()->trigger();
    widget_driver::typeInto(box(u"编辑框26"), QStringLiteral("42"));

    QString statusWhileOpen;
    modal_driver::whenModalOpens([&](QWidget* statistics) {
        statusWhileOpen = statusLine();
        statistics->close();
    });
    window().statisticsAction()->trigger();
    EXPECT_EQ(statusWhileOpen, QStringLiteral("请输入要修改收据的住院号，并按'Tab'键。"));

    modal_driver::whenModalOpens(
        [](QWidget* about) { about->findChild<QPushButton*>(QStringLiteral("按钮1"))->click(); });
    window().aboutAction()->trigger();
    EXPECT_EQ(box(u"编辑框26")->text(), QStringLiteral("42"));
    EXPECT_EQ(window().receipt().isModifyMode, 1);
}

TEST(ProgramCommandLine, VersionAndHelp) {
    QProcess program;
    program.start(QStringLiteral(PROGRAM_PATH), {QStringLiteral("--version")});
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(QString::fromUtf8(program.readAllStandardOutput()).trimmed(),
              QStringLiteral("491MX 1.0.0.0"));

    program.start(QStringLiteral(PROGRAM_PATH), {QStringLiteral("--help")});
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_TRUE(
        QString::fromUtf8(program.readAllStandardOutput()).contains(QStringLiteral("--database")));
}

}  // namespace
