#include "app/login_window.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "app/new_password_dialog.h"
#include "common/text.h"
#include "store/cashier_password.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/table.h"
#include "widgets/compact_label.h"
#include "widgets/controls.h"
#include "widgets/form_style.h"
#include "widgets/message_boxes.h"

namespace app {

namespace {

const QString kCaption = QStringLiteral("　　　〓　登　录　〓");
const QString kInstructions = QStringLiteral(
    "说明：\r\n　　1.选择收费员姓名；\r\n　　2.输入密码。\r\n\r\n按“退出”按钮则退出系统。");
const QString kWrongPassword = QStringLiteral("密码错误！请重新输入。");
// Followed by the store's reason, which names the database file or server.
const QString kUnreadableTable = QStringLiteral("无法读取收费员表，不能核对收费员和密码。\n");
const QString kInitialCashier = QStringLiteral("491MX");
constexpr QSize kOuterSize{200, 200};
constexpr int kBlinkPeriodMs = 500;
constexpr QColor kFailureColour{255, 0, 0};
// The name box drops its list down to this height, box included.
constexpr int kDroppedDownHeight = 166;

}  // namespace

LoginWindow::LoginWindow(store::Database& database, widgets::MessageBoxes& messageBoxes,
                         QWidget* parent)
    : QDialog(parent), m_database(database), m_messageBoxes(messageBoxes) {
    setWindowTitle(kCaption);
    setFont(widgets::formFont());
    widgets::placeWindow(*this, widgets::clientSizeForOuterSize(kOuterSize));
    createControls();
    fillCashierList();
    connect(组合框1, &QComboBox::activated, 编辑框1, [this] { 编辑框1->setFocus(); });
    connect(按钮1, &QPushButton::clicked, this, &LoginWindow::tryLogin);
    connect(按钮2, &QPushButton::clicked, this, &LoginWindow::quit);
    connect(时钟1, &QTimer::timeout, this, &LoginWindow::blinkFailure);
}

void LoginWindow::reject() {}

void LoginWindow::createControls() {
    标签2 = widgets::makeLabel(this, QStringLiteral("标签2"), QStringLiteral("收费员："),
                               {25, 10, 50, 20});

    组合框1 = new QComboBox(this);
    组合框1->setEditable(true);
    // The box's text is the name that logs in, so typing must never complete it to a longer
    // cashier's name, and Enter in the box must not add what was typed to the list.
    组合框1->setInsertPolicy(QComboBox::NoInsert);
    组合框1->setCompleter(nullptr);
    widgets::placeControl(*组合框1, QStringLiteral("组合框1"), {80, 10, 80, 20});

    标签3 = widgets::makeLabel(this, QStringLiteral("标签3"), QStringLiteral("密　码："),
                               {25, 40, 50, 20});

    编辑框1 = new QLineEdit(store::kInitialPassword.toString(), this);
    编辑框1->setEchoMode(QLineEdit::Password);
    编辑框1->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // '*'
    widgets::placeControl(*编辑框1, QStringLiteral("编辑框1"), {80, 40, 80, 20});

    按钮1 = widgets::makeButton(this, QStringLiteral("按钮1"), QStringLiteral("确定"),
                                {35, 70, 40, 24});
    按钮1->setDefault(true);
    按钮2 = widgets::makeButton(this, QStringLiteral("按钮2"), QStringLiteral("退出"),
                                {110, 70, 40, 24});

    时钟1 = new QTimer(this);
    时钟1->setObjectName(QStringLiteral("时钟1"));
    时钟1->setInterval(kBlinkPeriodMs);

    // Five lines of instructions in 64 pixels: only the form's own line height fits them.
    标签1 = new widgets::CompactLabel(kInstructions, this);
    标签1->setTextFormat(Qt::PlainText);
    widgets::placeControl(*标签1, QStringLiteral("标签1"), {10, 100, 170, 64});
    标签1->setWordWrap(true);
    标签1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void LoginWindow::fillCashierList() {
    store::Table cashiers(m_database);
    cashiers.open(store::kCashierTable);
    for (; !cashiers.pastLast(); cashiers.skip()) {
        组合框1->addItem(cashiers.readField(store::kCashierField).toString());
    }
    cashiers.close();
    const int rowHeight = 组合框1->view()->sizeHintForRow(0);
    if (rowHeight > 0) {
        组合框1->setMaxVisibleItems(
            std::max(1, (kDroppedDownHeight - 组合框1->height()) / rowHeight));
    }
    组合框1->setEditText(kInitialCashier);
}

void LoginWindow::tryLogin() {
    const QString cashier = 组合框1->currentText();
    const QString password = 编辑框1->text();
    const PasswordCheck check = checkPassword(cashier, password);
    if (!check.failure.isEmpty()) {
        showUnreadableTable(check.failure);
        return;
    }
    if (check.verdict == PasswordVerdict::Unusable) {
        showUnusablePassword(cashier);
        return;
    }
    if (check.verdict == PasswordVerdict::Wrong) {
        showFailure();
        return;
    }
    // The initial password is known to everyone who has seen a new installation.
    if (store::isInitialPassword(password) &&
        !askNewPassword(m_database, m_messageBoxes, cashier, this)) {
        return;
    }
    m_loggedInCashier = cashier;
    done(QDialog::Accepted);
}

// The first record of that exact name decides; a later namesake's password does not count. A
// plain password is never replaced by its hash here: only a new password is written.
LoginWindow::PasswordCheck LoginWindow::checkPassword(const QString& cashier,
                                                      const QString& password) {
    store::Table cashiers(m_database);
    if (!cashiers.open(store::kCashierTable)) {
        return {PasswordVerdict::Wrong, cashiers.lastError()};
    }
    cashiers.goFirst();
    const bool found = cashiers.find([&cashier](const store::Table& record) {
        return common::textEquals(record.readField(store::kCashierField).toString(), cashier);
    });
    const QString stored = found ? cashiers.readField(store::kPasswordField).toString() : QString();
    PasswordCheck check{PasswordVerdict::Wrong, cashiers.lastError()};
    cashiers.close();
    if (!found) {
        return check;
    }
    if (store::storedPasswordKind(stored) == store::StoredPassword::Unusable) {
        check.verdict = PasswordVerdict::Unusable;
    } else if (store::passwordOpens(stored, password)) {
        check.verdict = PasswordVerdict::Opens;
    }
    return check;
}

void LoginWindow::showFailure() {
    QPalette palette = 标签1->palette();
    palette.setColor(QPalette::WindowText, kFailureColour);
    标签1->setPalette(palette);
    标签1->setText(kWrongPassword);
    时钟1->start();
    编辑框1->setFocus();
    编辑框1->selectAll();
}

void LoginWindow::showUnreadableTable(const QString& reason) {
    m_messageBoxes.show(this, widgets::errorMessage(kUnreadableTable + reason));
}

void LoginWindow::showUnusablePassword(const QString& cashier) {
    m_messageBoxes.show(
        this, widgets::errorMessage(
                  QStringLiteral("收费员“%1”的密码无法核对（密码是空的，或是本程序不认识的"
                                 "散列值），不能登录。\n请管理员用 cashier password 命令"
                                 "为这位收费员设置新密码。")
                      .arg(cashier)));
}

void LoginWindow::blinkFailure() {
    标签1->setText(标签1->text().isEmpty() ? kWrongPassword : QString());
}

void LoginWindow::quit() {
    m_loggedInCashier.clear();
    done(QDialog::Rejected);
}

}  // namespace app
