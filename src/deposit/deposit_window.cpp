#include "deposit/deposit_window.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/money_text.h"
#include "common/number_text.h"
#include "common/text.h"
#include "platform/clock.h"
#include "platform/services.h"
#include "printing/plain_job.h"
#include "printing/print_outcome_message.h"
#include "receipt/payment_methods.h"
#include "store/reprint_journal.h"
#include "widgets/date_box.h"
#include "widgets/input_validators.h"
#include "widgets/message_boxes.h"
#include "widgets/spread_columns.h"
#include "widgets/window_controls.h"

namespace deposit {

namespace {

constexpr int kInpatientNumberMaxLength = 8;
constexpr int kPatientNameMaxBytes = 8;
constexpr int kAmountMaxLength = 8;
constexpr int kFirstAmountColumn = 5;

QStringList depositCells(const store::Deposit& deposit) {
    const QString time =
        deposit.enteredLater
            ? deposit.time.date().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 补录")
            : deposit.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return {QString::number(deposit.number),
            time,
            deposit.cashier,
            deposit.method,
            store::depositStateText(deposit.state),
            common::moneyText(deposit.amount)};
}

QComboBox* makeMethodBox(const QStringList& methods, const QString& name) {
    auto* box = new QComboBox;
    box->setObjectName(name);
    box->setAccessibleName(name);
    box->addItems(methods);
    box->setCurrentIndex(std::max<int>(0, static_cast<int>(methods.indexOf(receipt::kCashMethod))));
    return box;
}

QLineEdit* makeBox(const QString& name) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    box->setAccessibleName(name);
    return box;
}

}  // namespace

DepositWindow::DepositWindow(const platform::Services& services, store::Database& database,
                             const QString& cashier, QWidget* parent)
    : QDialog(parent), m_services(services), m_database(database), m_cashier(cashier) {
    setWindowTitle(QStringLiteral("预交金"));
    m_pages = new QTabWidget(this);
    m_pages->addTab(buildTakingPage(), QStringLiteral("收取"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    resize(760, 520);
}

void DepositWindow::addPage(QWidget* page, const QString& caption) {
    m_pages->addTab(page, caption);
}

QWidget* DepositWindow::buildTakingPage() {
    auto* page = new QWidget;
    m_numberBox = makeBox(QStringLiteral("住院号"));
    m_numberBox->setValidator(widgets::makeDigitsValidator(m_numberBox, kInpatientNumberMaxLength));
    m_nameBox = makeBox(QStringLiteral("姓名"));
    m_nameBox->setValidator(new widgets::CodePageLengthValidator(kPatientNameMaxBytes, m_nameBox));
    m_amountBox = makeBox(QStringLiteral("金额"));
    m_amountBox->setValidator(widgets::makeAmountValidator(m_amountBox, kAmountMaxLength));
    m_amountBox->setAlignment(Qt::AlignRight);
    m_methodBox = makeMethodBox(m_services.paymentMethods, QStringLiteral("付款方式"));
    m_enteredLaterBox = new QCheckBox(QStringLiteral("补录（纸质收据，已交款）"));
    m_enteredLaterBox->setObjectName(QStringLiteral("补录"));
    m_paidOnBox = new widgets::DateBox;
    m_paidOnBox->setObjectName(QStringLiteral("交款日期"));
    m_paidOnBox->setAccessibleName(QStringLiteral("交款日期"));
    m_paidOnBox->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_paidOnBox->setDate(m_services.clock.now().date());
    m_paidOnBox->setEnabled(false);
    QPushButton* takeButton = widgets::makeNamedButton(QStringLiteral("收取"), page);

    auto* form = new QGridLayout;
    const auto addCaptioned = [&](int row, int column, const QString& caption, QWidget* box) {
        auto* label = new QLabel(caption + QStringLiteral("："));
        label->setBuddy(box);
        form->addWidget(label, row, column);
        form->addWidget(box, row, column + 1);
    };
    addCaptioned(0, 0, QStringLiteral("住院号"), m_numberBox);
    addCaptioned(0, 2, QStringLiteral("姓名"), m_nameBox);
    addCaptioned(1, 0, QStringLiteral("金额"), m_amountBox);
    addCaptioned(1, 2, QStringLiteral("付款方式"), m_methodBox);
    form->addWidget(m_enteredLaterBox, 2, 0, 1, 2);
    addCaptioned(2, 2, QStringLiteral("交款日期"), m_paidOnBox);
    form->addWidget(takeButton, 1, 4);

    m_table = widgets::makeTextTable(
        QStringLiteral("预交金"),
        {QStringLiteral("预交号"), QStringLiteral("交款时间"), QStringLiteral("收费员"),
         QStringLiteral("付款方式"), QStringLiteral("状态"), QStringLiteral("金额")});
    m_openSum = new QLabel;
    m_openSum->setObjectName(QStringLiteral("待结算"));

    m_reasonBox = makeBox(QStringLiteral("退还原因"));
    m_reasonBox->setMaxLength(store::kLongestRefundReason);
    m_returnMethodBox = makeMethodBox(m_services.paymentMethods, QStringLiteral("退还方式"));
    QPushButton* refundButton = widgets::makeNamedButton(QStringLiteral("退还"), page);
    QPushButton* reprintButton = widgets::makeNamedButton(QStringLiteral("补打"), page);
    QPushButton* closeButton = widgets::makeNamedButton(QStringLiteral("关闭"), page);
    auto* actions = new QHBoxLayout;
    actions->addWidget(new QLabel(QStringLiteral("退还原因：")));
    actions->addWidget(m_reasonBox, 1);
    actions->addWidget(new QLabel(QStringLiteral("退还方式：")));
    actions->addWidget(m_returnMethodBox);
    actions->addWidget(refundButton);
    actions->addWidget(reprintButton);
    actions->addWidget(closeButton);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_openSum);
    layout->addLayout(actions);

    connect(m_numberBox, &QLineEdit::editingFinished, this, &DepositWindow::readPatient);
    connect(m_enteredLaterBox, &QCheckBox::toggled, m_paidOnBox, &QWidget::setEnabled);
    connect(takeButton, &QPushButton::clicked, this, &DepositWindow::take);
    connect(refundButton, &QPushButton::clicked, this, &DepositWindow::refund);
    connect(reprintButton, &QPushButton::clicked, this, &DepositWindow::reprint);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    return page;
}

void DepositWindow::readPatient() {
    m_deposits.clear();
    QString error;
    if (!common::isBlank(m_numberBox->text()) &&
        !store::readPatientDeposits(m_database, m_numberBox->text(), &m_deposits, &error)) {
        showError(QStringLiteral("无法读取预交金。\n") + error);
    }
    QList<QStringList> rows;
    for (const store::Deposit& deposit : m_deposits) {
        rows.append(depositCells(deposit));
    }
    widgets::fillTable(*m_table, rows, kFirstAmountColumn);
    widgets::spreadColumns(*m_table);
    const QList<store::Deposit> open = store::openDeposits(m_deposits);
    m_openSum->setText(QStringLiteral("待结算：%1笔，共%2元")
                           .arg(open.size())
                           .arg(common::moneyText(store::depositSum(open))));
    // The name the patient paid under before, unless the cashier has typed one.
    if (!m_deposits.isEmpty() && common::isBlank(m_nameBox->text())) {
        m_nameBox->setText(m_deposits.last().patientName);
    }
}

void DepositWindow::take() {
    const std::optional<common::Money> amount = common::parseAmount(m_amountBox->text());
    const bool enteredLater = m_enteredLaterBox->isChecked();
    const store::NewDeposit deposit{m_numberBox->text(),
                                    m_nameBox->text().trimmed(),
                                    amount.value_or(common::Money()),
                                    m_methodBox->currentText(),
                                    m_cashier,
                                    enteredLater ? m_paidOnBox->date() : QDate()};
    if (const QString refusal = store::depositRefusal(deposit, m_services.clock.now().date());
        !refusal.isEmpty()) {
        showError(refusal);
        return;
    }
    const QString what = QStringLiteral("住院号：%1\n姓名：%2\n金额：%3 元\n付款方式：%4")
                             .arg(deposit.inpatientNumber, deposit.patientName,
                                  common::moneyText(deposit.amount), deposit.method);
    const widgets::Message question =
        enteredLater
            ? widgets::Message{QStringLiteral("补录一笔已交的预交金（交款日期 %1），不打印收据，"
                                              "不计入本班现金：\n")
                                       .arg(deposit.paidOn.toString(QStringLiteral("yyyy-MM-dd"))) +
                                   what,
                               QStringLiteral("补录预交金"), widgets::MessageButtons::OkCancel,
                               widgets::MessageIcon::Information, QStringLiteral("补录")}
            : widgets::Message{QStringLiteral("收取预交金并打印收据（请放好纸）：\n") + what,
                               QStringLiteral("收取预交金"), widgets::MessageButtons::OkCancel,
                               widgets::MessageIcon::Information, QStringLiteral("收取")};
    if (m_services.messageBoxes.show(this, question) != widgets::MessageAnswer::Ok) {
        return;
    }
    const store::DepositResult result = store::takeDeposit(m_database, deposit);
    switch (result.outcome) {
        case store::DepositOutcome::Done: {
            m_amountBox->clear();
            readPatient();
            // As stored, with the time the database gave it.
            const auto stored = std::find_if(
                m_deposits.cbegin(), m_deposits.cend(),
                [&](const store::Deposit& kept) { return kept.number == result.deposit.number; });
            if (!enteredLater) {
                printSlip(stored != m_deposits.cend() ? *stored : result.deposit, SlipKind::Receipt,
                          {});
            }
            return;
        }
        case store::DepositOutcome::Discharged:
            showError(QStringLiteral("该住院号已出院结算"));
            return;
        case store::DepositOutcome::Uncertain:
            showError(QStringLiteral("预交金可能已经保存，也可能没有；没有打印。\n"
                                     "请重新打开预交金窗口，查看这个住院号的预交金。\n") +
                      result.error);
            return;
        case store::DepositOutcome::ChangedElsewhere:
        case store::DepositOutcome::Failed:
            break;
    }
    showError(QStringLiteral("预交金没有保存，也没有打印。\n") + result.error);
}

const store::Deposit* DepositWindow::selectedDeposit() {
    const int row = m_table->currentRow();
    if (row < 0 || row >= m_deposits.size()) {
        showError(QStringLiteral("请先在列表中选择一笔预交金。"));
        return nullptr;
    }
    return &m_deposits[row];
}

void DepositWindow::refund() {
    const store::Deposit* chosen = selectedDeposit();
    if (chosen == nullptr) {
        return;
    }
    const store::Deposit shown = *chosen;
    if (shown.state != store::DepositState::Open) {
        showError(
            QStringLiteral("这笔预交金%1，不能退还。").arg(store::depositStateText(shown.state)));
        return;
    }
    if (common::isBlank(m_reasonBox->text())) {
        showError(QStringLiteral("请填写退还原因！"));
        m_reasonBox->setFocus();
        return;
    }
    const QString method = m_returnMethodBox->currentText();
    const widgets::Message question{
        QStringLiteral("退还预交金 %1 号（住院号 %2，%3）%4 元，退还方式：%5？\n原因：%6")
            .arg(QString::number(shown.number), shown.inpatientNumber, shown.patientName,
                 common::moneyText(shown.amount), method, m_reasonBox->text().trimmed()),
        QStringLiteral("退还预交金"), widgets::MessageButtons::OkCancel,
        widgets::MessageIcon::Warning, QStringLiteral("退还")};
    if (m_services.messageBoxes.show(this, question) != widgets::MessageAnswer::Ok) {
        return;
    }
    const store::DepositResult result =
        store::refundDeposit(m_database, shown, m_cashier, method, m_reasonBox->text());
    readPatient();
    switch (result.outcome) {
        case store::DepositOutcome::Done:
            m_reasonBox->clear();
            printSlip(result.deposit, SlipKind::Refund, {});
            return;
        case store::DepositOutcome::ChangedElsewhere:
            showError(QStringLiteral("这笔预交金已在另一台收费机退还或结算，没有退还。"));
            return;
        case store::DepositOutcome::Uncertain:
            showError(QStringLiteral("退还可能已经保存，也可能没有；没有打印。\n"
                                     "请重新打开预交金窗口查看。\n") +
                      result.error);
            return;
        case store::DepositOutcome::Discharged:
        case store::DepositOutcome::Failed:
            break;
    }
    showError(QStringLiteral("没有退还。\n") + result.error);
}

void DepositWindow::reprint() {
    const store::Deposit* chosen = selectedDeposit();
    if (chosen == nullptr) {
        return;
    }
    const store::Deposit deposit = *chosen;
    if (deposit.enteredLater && deposit.state != store::DepositState::Refunded) {
        showError(QStringLiteral("补录的预交金没有本系统打印的收据。"));
        return;
    }
    const store::ReprintRecord recorded = store::recordDepositReprint(
        m_database, m_cashier, deposit.inpatientNumber, deposit.patientName);
    if (!recorded.recorded) {
        showError(QStringLiteral("无法记录补打，没有打印。\n") + recorded.error);
        return;
    }
    printSlip(deposit,
              deposit.state == store::DepositState::Refunded ? SlipKind::Refund : SlipKind::Receipt,
              m_services.clock.now());
}

void DepositWindow::printSlip(const store::Deposit& deposit, SlipKind kind,
                              const QDateTime& reprintedAt) {
    const QString what = slipTitle(kind);
    if (const std::optional<widgets::Message> told = printing::printOutcomeMessage(
            printing::printPlainPages(
                m_services.printer, slipDocumentName(deposit, kind),
                {slipPage(deposit, kind, m_services.office.hospital, reprintedAt)}),
            {what + QStringLiteral("没有打印出来。"), what, what})) {
        m_services.messageBoxes.show(this, *told);
    }
}

void DepositWindow::showError(const QString& text) {
    m_services.messageBoxes.show(this, widgets::errorMessage(text));
}

}  // namespace deposit
