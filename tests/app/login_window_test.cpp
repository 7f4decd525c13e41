#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/login_window.h"
#include "store/cashier_admin.h"
#include "store/cashier_password.h"
#include "store/database.h"
#include "store/table.h"
#include "support/database_test.h"
#include "support/qt_printers.h"
#include "support/scripted_message_boxes.h"

namespace {

const QString kWrongPassword = QStringLiteral("密码错误！请重新输入。");

class LoginWindowTest : public DatabaseTest {
protected:
    // Cashiers after the first one, 491MX with password 491mx, that every new file has.
    void addCashiers(const QList<std::pair<QString, QString>>& cashiers) {
        QList<QVariantList> records;
        for (const auto& [name, password] : cashiers) {
            records.append({name, password});
        }
        appendRecords(store::kCashierTable, records);
    }

    // A fresh window, shown and active as the login sequence shows it.
    app::LoginWindow& openWindow() {
        m_window = std::make_unique<app::LoginWindow>(database(), messageBoxes);
        m_window->show();
        m_window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
        return *m_window;
    }

    template <typename Control>
    Control* control(const char16_t* name) {
        auto* found = m_window->findChild<Control*>(QString::fromUtf16(name));
        EXPECT_NE(found, nullptr) << QString::fromUtf16(name).toStdString();
        return found;
    }
    QComboBox* nameBox() { return control<QComboBox>(u"组合框1"); }
    QLineEdit* passwordBox() { return control<QLineEdit>(u"编辑框1"); }
    QLabel* messageLabel() { return control<QLabel>(u"标签1"); }
    QTimer* blinkTimer() { return control<QTimer>(u"时钟1"); }

    // Types a text as keystrokes; QTest::keyClicks knows only ASCII.
    static void type(QWidget* box, const QString& text) {
        for (const QChar character : text) {
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(character),
                                Qt::NoModifier);
        }
    }
    static void retype(QLineEdit* box, const QString& text) {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        type(box, text);
    }
    void typeName(const QString& name) {
        nameBox()->setFocus(Qt::MouseFocusReason);  // where a completion would start
        retype(nameBox()->lineEdit(), name);
    }
    void typePassword(const QString& password) { retype(passwordBox(), password); }
    void clickOk() { QTest::mouseClick(control<QPushButton>(u"按钮1"), Qt::LeftButton); }
    void tick() { QMetaObject::invokeMethod(blinkTimer(), "timeout", Qt::DirectConnection); }

    // What the new-password dialog showed, and how it ended.
    struct NewPasswordRun {
        QStringList problems;  // under the boxes, after each 确定 but the last
        bool opened = false;
    };
    // Answers the new-password dialog when it opens: each pair typed into its two boxes and
    // 确定 pressed, and then 取消 unless the last pair closed it.
    // The fixture owns the wait, so that a dialog that never opens leaves nothing waiting.
    NewPasswordRun* answerNewPassword(const QList<std::pair<QString, QString>>& entries) {
        m_newPasswordRun = NewPasswordRun{};
        m_newPasswordWait = std::make_unique<QTimer>();
        m_newPasswordWait->setInterval(5);
        QObject::connect(m_newPasswordWait.get(), &QTimer::timeout, [this, entries] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (dialog == nullptr || !dialog->isVisible()) {
                return;
            }
            m_newPasswordWait->stop();
            m_newPasswordRun.opened = true;
            for (const auto& [first, second] : entries) {
                retype(dialog->findChild<QLineEdit*>(QStringLiteral("新密码")), first);
                retype(dialog->findChild<QLineEdit*>(QStringLiteral("再输一次")), second);
                QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("确定")),
                                  Qt::LeftButton);
                if (!dialog->isVisible()) {
                    return;
                }
                m_newPasswordRun.problems.append(
                    dialog->findChild<QLabel*>(QStringLiteral("密码提示"))->text());
            }
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("取消")),
                              Qt::LeftButton);
        });
        m_newPasswordWait->start();
        return &m_newPasswordRun;
    }
    QString storedPassword(const QString& cashier) {
        return runSql(QStringLiteral(R"(SELECT "密码" FROM "USER" WHERE "收费员" = '%1')")
                          .arg(cashier))
            .value(0)
            .value(0);
    }

    // Logs in with a name and password; the cashier who got in, or nothing.
    QString attempt(const QString& name, const QString& password) {
        typeName(name);
        typePassword(password);
        clickOk();
        return m_window->isVisible() ? QString() : m_window->loggedInCashier();
    }

    ScriptedMessageBoxes messageBoxes;
    std::unique_ptr<app::LoginWindow> m_window;
    NewPasswordRun m_newPasswordRun;
    std::unique_ptr<QTimer> m_newPasswordWait;
};

TEST_F(LoginWindowTest, OpensWithItsLayoutInitialTextsAndTheCashierList) {
    addCashiers({{QStringLiteral("王五"), QStringLiteral("1")},
                 {QString(), QStringLiteral("2")},
                 {QStringLiteral("王五"), QStringLiteral("3")}});
    app::LoginWindow& window = openWindow();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("　　　〓　登　录　〓"));
    EXPECT_EQ(window.pos(), QPoint(50, 50));
    EXPECT_EQ(window.size(), QSize(194, 169));

    const std::pair<const char16_t*, QRect> geometries[] = {
        {u"标签2", {25, 10, 50, 20}},  {u"组合框1", {80, 10, 80, 20}},
        {u"标签3", {25, 40, 50, 20}},  {u"编辑框1", {80, 40, 80, 20}},
        {u"按钮1", {35, 70, 40, 24}},  {u"按钮2", {110, 70, 40, 24}},
        {u"标签1", {10, 100, 170, 64}}};
    for (const auto& [name, geometry] : geometries) {
        EXPECT_EQ(control<QWidget>(name)->geometry(), geometry)
            << QString::fromUtf16(name).toStdString();
    }
    EXPECT_EQ(control<QLabel>(u"标签2")->text(), QStringLiteral("收费员："));
    EXPECT_EQ(control<QLabel>(u"标签3")->text(), QStringLiteral("密　码："));
    EXPECT_EQ(control<QPushButton>(u"按钮1")->text(), QStringLiteral("确定"));
    EXPECT_EQ(control<QPushButton>(u"按钮2")->text(), QStringLiteral("退出"));
    EXPECT_EQ(messageLabel()->text(),
              QStringLiteral("说明：\r\n　　1.选择收费员姓名；\r\n　　2.输入密码。\r\n\r\n"
                             "按“退出”按钮则退出系统。"));
    EXPECT_TRUE(messageLabel()->wordWrap());
    EXPECT_FALSE(blinkTimer()->isActive());

    EXPECT_TRUE(nameBox()->isEditable());
    EXPECT_EQ(nameBox()->currentText(), QStringLiteral("491MX"));
    QStringList names;
    for (int i = 0; i < nameBox()->count(); ++i) {
        names.append(nameBox()->itemText(i));
    }
    EXPECT_EQ(names, (QStringList{QStringLiteral("491MX"), QStringLiteral("王五"), QString(),
                                  QStringLiteral("王五")}));

    EXPECT_EQ(passwordBox()->text(), QStringLiteral("491mx"));
    EXPECT_EQ(passwordBox()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(passwordBox()->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr,
                                                passwordBox()),
              '*');
}

TEST_F(LoginWindowTest, OkAtOnceWithTheInitialTextsLogsInOnlyOnceANewPasswordIsSet) {
    app::LoginWindow& window = openWindow();
    const NewPasswordRun* run = answerNewPassword({});
    clickOk();
    EXPECT_TRUE(run->opened);
    EXPECT_TRUE(window.isVisible()) << "giving up leaves the cashier logged out";
    EXPECT_EQ(window.loggedInCashier(), QString());
    EXPECT_TRUE(
        store::passwordOpens(storedPassword(QStringLiteral("491MX")), QStringLiteral("491mx")));

    const QString chosen = QStringLiteral("收费处 1号");
    run = answerNewPassword({{QString(), QString()},
                             {QStringLiteral("491mx"), QStringLiteral("491mx")},
                             {chosen, chosen + u' '},
                             {chosen, chosen}});
    clickOk();
    EXPECT_EQ(run->problems, (QStringList{QStringLiteral("新密码不能为空。"),
                                          QStringLiteral("新密码不能是初始密码。"),
                                          QStringLiteral("两次输入的新密码不一样。")}));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(window.loggedInCashier(), QStringLiteral("491MX"));
    const QString stored = storedPassword(QStringLiteral("491MX"));
    EXPECT_TRUE(stored.startsWith(QStringLiteral("$argon2id$"))) << stored.toStdString();
    EXPECT_TRUE(store::passwordOpens(stored, chosen));
    EXPECT_FALSE(store::passwordOpens(stored, QStringLiteral("491mx")));
    EXPECT_TRUE(messageBoxes.shown().empty());
}

// Whoever has the initial password, by hash or in plain text, sets a new one; another password
// logs in at once.
TEST_F(LoginWindowTest, OnlyTheInitialPasswordAsksForANewOne) {
    addCashiers({{QStringLiteral("老张"), QStringLiteral("491mx")},
                 {QStringLiteral("小李"), QStringLiteral("491MX")}});
    openWindow();
    const NewPasswordRun* run = answerNewPassword({});
    EXPECT_EQ(attempt(QStringLiteral("老张"), QStringLiteral("491mx")), QString());
    EXPECT_TRUE(run->opened);
    EXPECT_EQ(storedPassword(QStringLiteral("老张")), QStringLiteral("491mx"));

    run = answerNewPassword({});
    EXPECT_EQ(attempt(QStringLiteral("小李"), QStringLiteral("491MX")), QStringLiteral("小李"));
    EXPECT_FALSE(run->opened);
}

TEST_F(LoginWindowTest, WrongPasswordBlinksInRedAndSelectsThePassword) {
    app::LoginWindow& window = openWindow();
    EXPECT_EQ(attempt(QStringLiteral("491MX"), QStringLiteral("wrong")), QString());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(messageLabel()->text(), kWrongPassword);
    EXPECT_EQ(messageLabel()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_TRUE(blinkTimer()->isActive());
    EXPECT_EQ(blinkTimer()->interval(), 500);
    EXPECT_TRUE(passwordBox()->hasFocus());
    EXPECT_EQ(passwordBox()->selectedText(), QStringLiteral("wrong"));
    EXPECT_EQ(nameBox()->currentText(), QStringLiteral("491MX"));

    tick();
    EXPECT_EQ(messageLabel()->text(), QString());
    tick();
    EXPECT_EQ(messageLabel()->text(), kWrongPassword);
    tick();
    clickOk();  // a further failure shows the message again at once
    EXPECT_EQ(messageLabel()->text(), kWrongPassword);

    type(passwordBox(), QStringLiteral("491mx"));  // replaces the selection
    answerNewPassword({{QStringLiteral("新"), QStringLiteral("新")}});
    clickOk();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.loggedInCashier(), QStringLiteral("491MX"));
}

TEST_F(LoginWindowTest, OnlyTheFirstOfTwoNamesakesCounts) {
    addCashiers({{QStringLiteral("张三"), QStringLiteral("一")},
                 {QStringLiteral("张三"), QStringLiteral("二")}});
    app::LoginWindow& window = openWindow();
    nameBox()->setFocus();
    QTest::keyClick(nameBox(), Qt::Key_Down);  // choosing an entry moves on to the password
    EXPECT_TRUE(passwordBox()->hasFocus());
    EXPECT_EQ(passwordBox()->text(), QStringLiteral("491mx"));

    EXPECT_EQ(attempt(QStringLiteral("张三"), QStringLiteral("二")), QString());
    EXPECT_EQ(attempt(QStringLiteral("张三"), QStringLiteral("一")), QStringLiteral("张三"));
    EXPECT_EQ(window.result(), QDialog::Accepted);
}

TEST_F(LoginWindowTest, NamesAndPasswordsMustMatchExactly) {
    openWindow();
    EXPECT_EQ(attempt(QStringLiteral("491mx"), QStringLiteral("491mx")), QString());
    EXPECT_EQ(attempt(QStringLiteral("491MX "), QStringLiteral("491mx")), QString());
    EXPECT_EQ(attempt(QStringLiteral(" 491MX"), QStringLiteral("491mx")), QString());
    EXPECT_EQ(attempt(QStringLiteral("491"), QStringLiteral("491mx")), QString());  // no completion
    EXPECT_EQ(attempt(QStringLiteral("491MX"), QStringLiteral("491MX")), QString());
    EXPECT_EQ(attempt(QStringLiteral("491MX"), QStringLiteral("491mx ")), QString());
    EXPECT_EQ(attempt(QStringLiteral("491MX"), QString()), QString());
    answerNewPassword({{QStringLiteral("新"), QStringLiteral("新")}});
    EXPECT_EQ(attempt(QStringLiteral("491MX"), QStringLiteral("491mx")), QStringLiteral("491MX"));
}

// An entry that cannot be checked opens nothing, whatever is typed, and the cashier learns why.
TEST_F(LoginWindowTest, StoredPasswordsThatCannotBeCheckedOpenNothing) {
    const QStringList unusable{
        QString(),
        QStringLiteral(
            "$argon2i$v=19$m=65536,t=2,p=1$c29tZXNhbHQ$RdescudvJCsgt3ub+b+dWRWJTmaaJObG"),
        QStringLiteral("$argon2id$v=19$m=65536,t=2,p=1$c29tZXNhbHQ"),  // cut short
        QStringLiteral("$2y$10$abcdefghijklmnopqrstuuJ1HqjDGIGc4c0yZBK7mTy9aOlGkN5Vu"),
        QStringLiteral("$6$rounds=5000$salt$IxDD3jeSOb5eB1CX5LBsqZFVkJdido3OUILO5Ifz5iwMuTS4"),
        QStringLiteral("pbkdf2_sha256$260000$salt$hash="),
        QStringLiteral("{SSHA}W6ph5Mm5Pz8GgiULbPgzG37mj9g="),
        QStringLiteral("*94BDCEBE19083CE2A1F959FD02F964C7AF4CFC29"),
        QStringLiteral("5f4dcc3b5aa765d61d8327deb882cf99"),
    };
    QList<std::pair<QString, QString>> cashiers;
    for (qsizetype i = 0; i < unusable.size(); ++i) {
        cashiers.append({QStringLiteral("收费员%1").arg(i), unusable[i]});
    }
    addCashiers(cashiers);
    runSql(QStringLiteral(R"(INSERT INTO "USER" ("收费员") VALUES ('无密码'))"));
    cashiers.append({QStringLiteral("无密码"), QString()});
    openWindow();
    for (const auto& [name, stored] : cashiers) {
        SCOPED_TRACE(stored.toStdString());
        messageBoxes.clear();
        for (const QString& typed : {stored, QString(), QStringLiteral("491mx")}) {
            EXPECT_EQ(attempt(name, typed), QString());
        }
        ASSERT_EQ(messageBoxes.shown().size(), 3u);
        const QString text = messageBoxes.shown()[0].text;
        EXPECT_TRUE(text.contains(name) && text.contains(QStringLiteral("cashier password")))
            << text.toStdString();
    }
    EXPECT_EQ(
        messageLabel()->text(),
        QStringLiteral(
            "说明：\r\n　　1.选择收费员姓名；\r\n　　2.输入密码。\r\n\r\n按“退出”按钮则退出系统。"))
        << "not told as a wrong password";
}

TEST_F(LoginWindowTest, QuitEndsWithoutACashierEvenAfterAFailure) {
    app::LoginWindow& window = openWindow();
    attempt(QStringLiteral("491MX"), QStringLiteral("wrong"));
    QTest::mouseClick(control<QPushButton>(u"按钮2"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_EQ(window.loggedInCashier(), QString());
}

TEST_F(LoginWindowTest, ExecReturnsOnceQuitIsPressed) {
    app::LoginWindow window(database(), messageBoxes);
    QTimer::singleShot(0, &window, [&window] {
        window.findChild<QPushButton*>(QStringLiteral("按钮2"))->click();
    });
    EXPECT_EQ(window.exec(), QDialog::Rejected);
    EXPECT_EQ(window.loggedInCashier(), QString());
}

TEST_F(LoginWindowTest, CloseBoxAndEscapeAreRefused) {
    app::LoginWindow& window = openWindow();
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    QTest::keyClick(passwordBox(), Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    answerNewPassword({{QStringLiteral("新"), QStringLiteral("新")}});
    clickOk();
    EXPECT_EQ(window.loggedInCashier(), QStringLiteral("491MX"));
}

// The login on each engine, with cashiers that the cashier command added or that other programs
// put into the table.
class HashedPasswordLogin : public LoginWindowTest,
                            public ::testing::WithParamInterface<EngineKind> {
protected:
    EngineKind engineKind() const override { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(Engines, HashedPasswordLogin,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

TEST_P(HashedPasswordLogin, ACashierAddedByTheCommandLogsInWithItsPasswordOnly) {
    const QString name = QStringLiteral("王 五'\"");
    const QString password = QStringLiteral("密 码'\"1");
    ASSERT_EQ(store::addCashier(database(), name, password).outcome,
              store::CashierChangeOutcome::Done);
    const QString hash = storedPassword(QStringLiteral("王 五''\""));
    ASSERT_TRUE(hash.startsWith(QStringLiteral("$argon2id$"))) << hash.toStdString();

    openWindow();
    for (const QString& wrong :
         QStringList{hash, password.chopped(1), password + u' ', QString()}) {
        EXPECT_EQ(attempt(name, wrong), QString()) << wrong.toStdString();
    }
    EXPECT_EQ(attempt(name, password), name);
}

TEST_P(HashedPasswordLogin, APlainPasswordPutInByAnotherProgramStillLogsInAndStaysAsItWas) {
    runSql(QStringLiteral(R"(INSERT INTO "USER" ("收费员", "密码") VALUES ('老张', '明文 1'))"));
    openWindow();
    EXPECT_EQ(attempt(QStringLiteral("老张"), QStringLiteral("明文")), QString());
    EXPECT_EQ(attempt(QStringLiteral("老张"), QStringLiteral("明文 1")), QStringLiteral("老张"));
    EXPECT_EQ(storedPassword(QStringLiteral("老张")), QStringLiteral("明文 1"));
}

TEST(LoginWindowWithoutCashiers, UnreadableCashierTableIsSaidInAMessageBoxNotAsAWrongPassword) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("not-a-database"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(QByteArray(2048, 'x')) == 2048);
    file.close();
    store::Database database(path);
    ScriptedMessageBoxes messageBoxes;
    app::LoginWindow window(database, messageBoxes);
    window.show();
    auto* names = window.findChild<QComboBox*>(QStringLiteral("组合框1"));
    EXPECT_EQ(names->count(), 0);
    EXPECT_EQ(names->currentText(), QStringLiteral("491MX"));
    auto* message = window.findChild<QLabel*>(QStringLiteral("标签1"));
    const QString instructions = message->text();

    window.findChild<QPushButton*>(QStringLiteral("按钮1"))->click();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(message->text(), instructions);
    ASSERT_EQ(messageBoxes.shown().size(), 1u);
    const QString text = messageBoxes.shown()[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("无法读取收费员表"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QDir::toNativeSeparators(path))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("不是 SQLite 数据库"))) << text.toStdString();
    EXPECT_EQ(messageBoxes.shown()[0].icon, widgets::MessageIcon::Stop);
}

}  // namespace
