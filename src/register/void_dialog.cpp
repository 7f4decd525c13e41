#include "register/void_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/form_style.h"
#include "widgets/message_boxes.h"
#include "widgets/window_controls.h"

namespace receipt_register {

namespace {

const QString kVoid = QStringLiteral("作废");

QString reasonProblem(store::VoidOutcome outcome) {
    switch (outcome) {
        case store::VoidOutcome::NoReason:
            return QStringLiteral("请输入作废原因。");
        case store::VoidOutcome::ReasonTooLong:
            return QStringLiteral("作废原因不能超过%1个字。").arg(store::kLongestVoidReason);
        default:
            break;
    }
    return {};
}

}  // namespace

VoidDialog::VoidDialog(widgets::MessageBoxes& messageBoxes, const QString& inpatientNumber,
                       const QString& patientName, QWidget* parent)
    : QDialog(parent),
      m_messageBoxes(messageBoxes),
      m_inpatientNumber(inpatientNumber),
      m_patientName(patientName) {
    setWindowTitle(kVoid);
    setFont(widgets::formFont());
    auto* prompt =
        new QLabel(QStringLiteral("作废住院号为 %1（%2）的收据。作废原因（必填，不超过%3个字）：")
                       .arg(inpatientNumber, patientName)
                       .arg(store::kLongestVoidReason),
                   this);
    prompt->setWordWrap(true);
    m_reason = new QLineEdit(this);
    m_reason->setObjectName(QStringLiteral("作废原因"));
    m_reason->setAccessibleName(QStringLiteral("作废原因"));
    m_reason->setMaxLength(store::kLongestVoidReason);
    prompt->setBuddy(m_reason);
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("作废提示"));
    m_problem->setStyleSheet(QStringLiteral("color: red"));
    QPushButton* voidButton = widgets::makeNamedButton(kVoid, this);
    QPushButton* cancel = widgets::makeNamedButton(QStringLiteral("取消"), this);
    connect(voidButton, &QPushButton::clicked, this, &VoidDialog::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_problem, 1);
    buttons->addWidget(voidButton);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(m_reason);
    layout->addLayout(buttons);
    resize(420, sizeHint().height());
}

QString VoidDialog::reason() const {
    return m_reason->text();
}

void VoidDialog::confirm() {
    const QString problem = reasonProblem(store::checkVoidReason(reason()));
    m_problem->setText(problem);
    if (!problem.isEmpty()) {
        m_reason->setFocus();
        return;
    }
    const widgets::Message question{
        QStringLiteral("确定作废住院号为 %1（%2）的收据吗？\n作废后它不再计入统计和交班，"
                       "不能恢复；这个住院号可以重新开收据。")
            .arg(m_inpatientNumber, m_patientName),
        kVoid, widgets::MessageButtons::OkCancel, widgets::MessageIcon::Warning, kVoid};
    if (m_messageBoxes.show(this, question) == widgets::MessageAnswer::Ok) {
        accept();
    }
}

std::optional<QString> askVoidReason(widgets::MessageBoxes& messageBoxes,
                                     const QString& inpatientNumber, const QString& patientName,
                                     QWidget* parent) {
    VoidDialog dialog(messageBoxes, inpatientNumber, patientName, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.reason();
}

QString voidRefusalMessage(const store::VoidResult& result) {
    switch (result.outcome) {
        case store::VoidOutcome::Voided:
            return {};
        case store::VoidOutcome::NoReason:
        case store::VoidOutcome::ReasonTooLong:
            return reasonProblem(result.outcome);
        case store::VoidOutcome::NotIssuer:
            return QStringLiteral("这张收据的收费员为") + result.issuer +
                   QStringLiteral("，请重新登录！");
        case store::VoidOutcome::ChangedElsewhere:
            return QStringLiteral(
                "这张收据在显示之后已被另一台收费机修改，没有作废。\n"
                "请重新查看这张收据。");
        case store::VoidOutcome::Removed:
            return QStringLiteral(
                "这张收据已不在收据表中（可能已在另一台收费机上作废），"
                "没有作废。");
        case store::VoidOutcome::Uncertain:
            return QStringLiteral(
                       "与数据库的连接在作废时断开，不知道收据是否已经作废。"
                       "请重新查看这张收据。\n") +
                   result.error;
        case store::VoidOutcome::Failed:
            break;
    }
    return QStringLiteral("收据没有作废。\n") + result.error;
}

}  // namespace receipt_register
