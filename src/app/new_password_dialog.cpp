#include "app/new_password_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "store/cashier_admin.h"
#include "store/cashier_password.h"
#include "widgets/form_style.h"
#include "widgets/message_boxes.h"

namespace app {

namespace {

const QString kTitle = QStringLiteral("设置新密码");

// Why these two entries cannot be the new password; empty when they can.
QString entryProblem(const QString& first, const QString& second) {
    if (first.isEmpty()) {
        return QStringLiteral("新密码不能为空。");
    }
    if (store::isInitialPassword(first)) {
        return QStringLiteral("新密码不能是初始密码。");
    }
    if (first != second) {
        return QStringLiteral("两次输入的新密码不一样。");
    }
    return {};
}

QLineEdit* makePasswordBox(const QString& name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAccessibleName(name);
    box->setEchoMode(QLineEdit::Password);
    return box;
}

QPushButton* makeNamedButton(const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(caption);
    return button;
}

}  // namespace

NewPasswordDialog::NewPasswordDialog(store::Database& database, widgets::MessageBoxes& messageBoxes,
                                     const QString& cashier, QWidget* parent)
    : QDialog(parent),
      m_database(database),
      m_messageBoxes(messageBoxes),
      m_cashier(cashier),
      m_first(makePasswordBox(QStringLiteral("新密码"), this)),
      m_second(makePasswordBox(QStringLiteral("再输一次"), this)),
      m_problem(new QLabel(this)) {
    setWindowTitle(kTitle);
    setFont(widgets::formFont());
    auto* prompt = new QLabel(
        QStringLiteral("收费员“%1”还在用初始密码，请先设置新密码（输入两次），以后用新密码登录。")
            .arg(cashier),
        this);
    prompt->setTextFormat(Qt::PlainText);
    prompt->setWordWrap(true);
    m_problem->setObjectName(QStringLiteral("密码提示"));
    m_problem->setStyleSheet(QStringLiteral("color: red"));
    QPushButton* ok = makeNamedButton(QStringLiteral("确定"), this);
    ok->setDefault(true);
    QPushButton* cancel = makeNamedButton(QStringLiteral("取消"), this);
    connect(ok, &QPushButton::clicked, this, &NewPasswordDialog::storePassword);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* boxes = new QFormLayout;
    boxes->addRow(QStringLiteral("新密码："), m_first);
    boxes->addRow(QStringLiteral("再输一次："), m_second);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_problem, 1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(boxes);
    layout->addLayout(buttons);
    resize(360, sizeHint().height());
    m_first->setFocus();
}

void NewPasswordDialog::storePassword() {
    const QString problem = entryProblem(m_first->text(), m_second->text());
    m_problem->setText(problem);
    if (!problem.isEmpty()) {
        m_first->setFocus();
        m_first->selectAll();
        return;
    }
    const store::CashierChange change =
        store::changePassword(m_database, m_cashier, m_first->text());
    switch (change.outcome) {
        case store::CashierChangeOutcome::Done:
            accept();
            return;
        case store::CashierChangeOutcome::UnknownName:
            m_messageBoxes.show(
                this, widgets::errorMessage(
                          QStringLiteral("收费员“%1”已不在收费员表中（可能刚被删除），没有登录。")
                              .arg(m_cashier)));
            reject();
            return;
        case store::CashierChangeOutcome::Uncertain:
            m_messageBoxes.show(this, widgets::errorMessage(QStringLiteral(
                                          "与数据库的连接在保存时断开，不知道新密码是否已经保存。"
                                          "请再按一次“确定”。")));
            return;
        default:
            break;
    }
    m_messageBoxes.show(this,
                        widgets::errorMessage(QStringLiteral("新密码没有保存。\n") + change.error));
}

bool askNewPassword(store::Database& database, widgets::MessageBoxes& messageBoxes,
                    const QString& cashier, QWidget* parent) {
    NewPasswordDialog dialog(database, messageBoxes, cashier, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace app
