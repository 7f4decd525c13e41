#include "billing/main_window.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <limits>

#include "common/dates.h"
#include "common/money_words.h"
#include "common/number_text.h"
#include "platform/clock.h"
#include "receipt/balance.h"
#include "widgets/controls.h"
#include "widgets/focus_leaving.h"
#include "widgets/form_style.h"
#include "widgets/input_validators.h"

namespace billing {

namespace {

using widgets::makeButton;
using widgets::makeEditBox;
using widgets::makeLabel;
using widgets::makeRule;
using widgets::RuleShape;

const QString kWindowTitle = QStringLiteral("医院（住院）计费系统");
const QString kWelcomeLine = QStringLiteral(" 欢迎使用本系统，请注意本行的提示信息！");
const QString kDateError = QStringLiteral("日期输入错误！");
const QString kCashierPrefix = QStringLiteral(" 收费员：");

// The form below the menu bar, as designed.
constexpr QSize kFormSize{634, 409};

constexpr int kAmountMaxLength = 8;
constexpr int kInpatientNumberMaxLength = 8;
constexpr int kPatientNameMaxBytes = 8;
// The supplement's box takes any length; the print command refuses what no receipt can carry.
constexpr int kNoLengthLimit = std::numeric_limits<int>::max();

constexpr std::array<int, 5> kGridLabelLefts{10, 135, 260, 385, 510};
constexpr std::array<int, 5> kGridBoxLefts{60, 185, 310, 435, 560};
constexpr std::array<int, 4> kGridRowTops{100, 133, 163, 200};

QLabel* makeHeading(QWidget* parent, const QString& name, const QString& caption, QRect geometry) {
    QLabel* heading = makeLabel(parent, name, caption, geometry);
    heading->setFont(widgets::formFont(12, QFont::Bold));
    heading->setAlignment(Qt::AlignCenter);
    return heading;
}

QLineEdit* makeAmountBox(QWidget* parent, const QString& name, QRect geometry, int maxLength) {
    QLineEdit* box = makeEditBox(parent, name, geometry);
    // The limit lives in the validator: QLineEdit's own maximum would cut a longer stored amount
    // shown for correction, and cut a paste instead of refusing it.
    box->setValidator(widgets::makeAmountValidator(box, maxLength));
    box->setAlignment(Qt::AlignRight);
    return box;
}

// A box the program writes and the cashier only reads: disabled, yet in full black, since the
// total and the balance are what the cashier reads out to the patient.
QLineEdit* makeResultBox(QWidget* parent, const QString& name, QRect geometry) {
    QLineEdit* box = makeEditBox(parent, name, geometry);
    box->setAlignment(Qt::AlignRight);
    box->setEnabled(false);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text,
                     palette.color(QPalette::Active, QPalette::Text));
    box->setPalette(palette);
    return box;
}

QLabel* makeStatusPanel(QWidget* parent, const QString& name, QRect geometry) {
    QLabel* panel = makeLabel(parent, name, QString(), geometry);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return panel;
}

}  // namespace

MainWindow::MainWindow(const platform::Clock& clock, QWidget* parent)
    : QMainWindow(parent), m_clock(clock) {
    setWindowTitle(kWindowTitle);
    buildMenus();
    buildForm();
    widgets::placeWindow(*this,
                         {kFormSize.width(), menuBar()->sizeHint().height() + kFormSize.height()});
}

void MainWindow::buildMenus() {
    QMenu* systemMenu = menuBar()->addMenu(QStringLiteral("系统"));
    systemMenu->setObjectName(QStringLiteral("系统"));
    const auto addAction = [](QMenu* menu, const QString& text) {
        QAction* action = menu->addAction(text);
        action->setObjectName(text);
        return action;
    };
    m_statisticsAction = addAction(systemMenu, QStringLiteral("统计"));
    m_registerAction = addAction(systemMenu, QStringLiteral("查询"));
    m_shiftAction = addAction(systemMenu, QStringLiteral("交班"));
    m_depositAction = addAction(systemMenu, QStringLiteral("预交"));
    systemMenu->addSeparator();
    m_modifyAction = addAction(systemMenu, QStringLiteral("修改"));
    systemMenu->addSeparator();
    m_loginAction = addAction(systemMenu, QStringLiteral("登录"));
    systemMenu->addSeparator();
    m_exitAction = addAction(systemMenu, QStringLiteral("退出"));

    QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("帮助"));
    helpMenu->setObjectName(QStringLiteral("帮助"));
    m_aboutAction = addAction(helpMenu, QStringLiteral("关于"));
}

void MainWindow::buildForm() {
    auto* form = new QWidget(this);
    form->setObjectName(QStringLiteral("form"));
    form->setFixedSize(kFormSize);
    setCentralWidget(form);

    makeRule(form, QStringLiteral("外形框11"), {0, 5, 634, 383}, RuleShape::Outline);
    makeLabel(form, QStringLiteral("标签4"), QStringLiteral("姓　名"), {10, 10, 40, 20});
    编辑框1 = makeEditBox(form, QStringLiteral("编辑框1"), {60, 10, 60, 20});
    编辑框1->setValidator(new widgets::CodePageLengthValidator(kPatientNameMaxBytes, 编辑框1));
    makeRule(form, QStringLiteral("外形框1"), {1, 35, 631, 2}, RuleShape::Horizontal);

    makeLabel(form, QStringLiteral("标签3"), QStringLiteral("住院号"), {10, 40, 40, 20});
    编辑框26 = makeEditBox(form, QStringLiteral("编辑框26"), {60, 40, 60, 20});
    编辑框26->setValidator(widgets::makeDigitsValidator(编辑框26, kInpatientNumberMaxLength));
    编辑框26->setAlignment(Qt::AlignRight);
    makeLabel(form, QStringLiteral("标签5"), QStringLiteral("入院时间"), {135, 40, 50, 20});
    日期框1 = widgets::makeDateBox(form, QStringLiteral("日期框1"), {205, 40, 110, 20});
    makeLabel(form, QStringLiteral("标签6"), QStringLiteral("出院时间"), {345, 40, 50, 20});
    日期框2 = widgets::makeDateBox(form, QStringLiteral("日期框2"), {415, 40, 110, 20});
    标签43 = makeLabel(form, QStringLiteral("标签43"), QString(), {555, 40, 60, 20});

    makeRule(form, QStringLiteral("外形框4"), {1, 65, 631, 2}, RuleShape::Horizontal);
    makeRule(form, QStringLiteral("外形框2"), {8, 67, 615, 2}, RuleShape::Horizontal);
    makeRule(form, QStringLiteral("外形框7"), {125, 66, 2, 159}, RuleShape::Vertical);
    makeRule(form, QStringLiteral("外形框8"), {250, 66, 2, 159}, RuleShape::Vertical);
    makeRule(form, QStringLiteral("外形框9"), {375, 66, 2, 159}, RuleShape::Vertical);
    makeRule(form, QStringLiteral("外形框10"), {500, 66, 2, 159}, RuleShape::Vertical);
    const QString item = QStringLiteral("项　目");
    const QString amount = QStringLiteral("金　额");
    makeHeading(form, QStringLiteral("标签16"), item, {10, 70, 40, 20});
    makeHeading(form, QStringLiteral("标签17"), amount, {60, 70, 50, 20});
    makeHeading(form, QStringLiteral("标签19"), item, {135, 70, 40, 20});
    makeHeading(form, QStringLiteral("标签18"), amount, {185, 70, 50, 20});
    makeHeading(form, QStringLiteral("标签21"), item, {260, 70, 40, 20});
    makeHeading(form, QStringLiteral("标签20"), amount, {310, 70, 50, 20});
    makeHeading(form, QStringLiteral("标签23"), item, {385, 70, 40, 20});
    makeHeading(form, QStringLiteral("标签22"), amount, {435, 70, 50, 20});
    makeHeading(form, QStringLiteral("标签24"), QStringLiteral("自　付"), {530, 70, 50, 20});
    makeRule(form, QStringLiteral("外形框3"), {1, 95, 631, 2}, RuleShape::Horizontal);

    buildFeeGrid(form);
    QLabel* percentSign =
        makeLabel(form, QStringLiteral("标签37"), QStringLiteral("％"), {510, 200, 40, 20});
    percentSign->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    编辑框23 = makeResultBox(form, QStringLiteral("编辑框23"), {560, 200, 60, 20});
    编辑框23->setText(QStringLiteral("100"));
    makeRule(form, QStringLiteral("外形框5"), {1, 225, 631, 2}, RuleShape::Horizontal);

    QLabel* totalCaption =
        makeLabel(form, QStringLiteral("标签38"), QStringLiteral("合　　计"), {10, 230, 55, 20});
    totalCaption->setFont(widgets::formFont(12, QFont::Bold));
    编辑框27 = makeResultBox(form, QStringLiteral("编辑框27"), {80, 230, 70, 20});
    标签44 = makeLabel(form, QStringLiteral("标签44"), QString(), {165, 230, 450, 20});
    makeLabel(form, QStringLiteral("标签39"), QStringLiteral("预　　收"), {10, 265, 55, 20});
    编辑框24 = makeAmountBox(form, QStringLiteral("编辑框24"), {80, 265, 70, 20}, kAmountMaxLength);
    标签45 = makeLabel(form, QStringLiteral("标签45"), QString(), {165, 265, 450, 20});
    makeLabel(form, QStringLiteral("标签40"), QStringLiteral("补　　收"), {10, 300, 55, 20});
    编辑框25 = makeAmountBox(form, QStringLiteral("编辑框25"), {80, 300, 70, 20}, kNoLengthLimit);
    makeLabel(form, QStringLiteral("标签41"), QStringLiteral("退　　款"), {230, 300, 55, 20});
    编辑框28 = makeResultBox(form, QStringLiteral("编辑框28"), {300, 300, 70, 20});
    makeLabel(form, QStringLiteral("标签42"), QStringLiteral("欠　　费"), {490, 300, 55, 20});
    编辑框29 = makeResultBox(form, QStringLiteral("编辑框29"), {560, 300, 70, 20});
    编辑框28->setReadOnly(true);
    编辑框29->setReadOnly(true);
    makeRule(form, QStringLiteral("外形框6"), {1, 325, 631, 2}, RuleShape::Horizontal);

    按钮3 = makeButton(form, QStringLiteral("按钮3"), QStringLiteral("新　建"), {20, 335, 80, 40});
    按钮1 = makeButton(form, QStringLiteral("按钮1"), QStringLiteral("计　算"), {260, 335, 80, 40});
    按钮2 = makeButton(form, QStringLiteral("按钮2"), QStringLiteral("打　印"), {530, 335, 80, 40});
    标签2 = makeStatusPanel(form, QStringLiteral("标签2"), {0, 389, 134, 20});
    标签1 = makeStatusPanel(form, QStringLiteral("标签1"), {134, 389, 500, 20});

    for (QLineEdit* box : {编辑框24, 编辑框25, 编辑框26}) {
        box->installEventFilter(this);
    }
    connect(日期框1, &QDateEdit::dateTimeChanged, this,
            [this] { checkStayDates(日期框1, 日期框2); });
    connect(日期框2, &QDateEdit::dateTimeChanged, this,
            [this] { checkStayDates(日期框2, 日期框1); });
    connect(按钮3, &QPushButton::clicked, this, &MainWindow::newReceipt);
    connect(按钮1, &QPushButton::clicked, this, &MainWindow::recalculateTotal);
    connect(按钮2, &QPushButton::clicked, this, &MainWindow::printRequested);

    // Tab runs down the form: patient, dates, the fees in category order, the payments, buttons.
    QList<QWidget*> focusOrder{编辑框1, 编辑框26, 日期框1, 日期框2};
    focusOrder.append(QList<QWidget*>(m_feeBoxes.begin(), m_feeBoxes.end()));
    focusOrder.append({编辑框24, 编辑框25, 按钮1, 按钮2, 按钮3});
    for (qsizetype i = 1; i < focusOrder.size(); ++i) {
        setTabOrder(focusOrder[i - 1], focusOrder[i]);
    }
}

void MainWindow::buildFeeGrid(QWidget* form) {
    for (std::size_t index = 0; index < receipt::kFeeCategories.size(); ++index) {
        const receipt::FeeCategory& category = receipt::kFeeCategories[index];
        const auto column = static_cast<std::size_t>(category.gridColumn - 1);
        const int top = kGridRowTops[static_cast<std::size_t>(category.gridRow - 1)];
        makeLabel(form, category.labelName.toString(), category.screenLabel.toString(),
                  {kGridLabelLefts[column], top, 40, 20});
        QLineEdit* box = makeAmountBox(form, category.boxName.toString(),
                                       {kGridBoxLefts[column], top, 60, 20}, kAmountMaxLength);
        box->installEventFilter(this);
        m_feeBoxes[index] = box;
    }
}

void MainWindow::recalculateTotal() {
    for (std::size_t index = 0; index < receipt::kFeeCategories.size(); ++index) {
        m_receipt.*receipt::kFeeCategories[index].variable =
            common::textToNumber(m_feeBoxes[index]->text());
    }
    m_receipt.totalAmount = receipt::sumOfFees(m_receipt);
    编辑框27->setText(common::numberToText(m_receipt.totalAmount));
    标签44->setText(common::moneyWords(m_receipt.totalAmount));
    recalculateBalance();
}

void MainWindow::recalculateBalance() {
    m_receipt.prepaidAmount = common::textToNumber(编辑框24->text());
    m_receipt.supplementAmount = common::textToNumber(编辑框25->text());
    标签1->setText(receipt::settleBalance(m_receipt));
    标签45->setText(common::moneyWords(m_receipt.prepaidAmount));
    编辑框28->setText(common::numberToText(m_receipt.refundAmount));
    编辑框29->setText(common::numberToText(m_receipt.arrearsAmount));
}

void MainWindow::checkStayDates(QDateEdit* changedBox, QDateEdit* otherBox) {
    const QDateTime admission = 日期框1->dateTime();
    const QDateTime discharge = 日期框2->dateTime();
    if (admission <= discharge) {
        标签1->clear();
        标签43->setText(common::stayLengthText(admission, discharge));
        return;
    }
    标签1->setText(kDateError);
    {
        // The repair is the program's own change and must not be checked again, or the equal
        // dates would clear the message at once.
        const QSignalBlocker blocker(changedBox);
        changedBox->setDateTime(otherBox->dateTime());
    }
    标签43->setText(common::stayLengthText(changedBox->dateTime(), otherBox->dateTime()));
}

void MainWindow::newReceipt() {
    编辑框1->clear();
    for (QLineEdit* box : m_feeBoxes) {
        box->clear();
    }
    编辑框24->clear();
    unlockDeposit(false);
    编辑框25->clear();
    编辑框26->clear();
    const QDateTime today = common::startOfDay(m_clock.now().date());
    setDatesUnchecked(today, today);
    recalculateTotal();
    标签43->setText(common::stayLengthText(日期框1->dateTime(), 日期框2->dateTime()));
    编辑框1->setFocus();
    标签1->setText(kWelcomeLine);
    setCalculateAndPrintEnabled(true);
    m_receipt.isModifyMode = 0;
}

void MainWindow::setDatesUnchecked(const QDateTime& admission, const QDateTime& discharge) {
    // Half-way, the other box still holds its older date, which a check would compare with.
    const QSignalBlocker admissionBlocker(日期框1);
    const QSignalBlocker dischargeBlocker(日期框2);
    日期框1->setDateTime(admission);
    日期框2->setDateTime(discharge);
}

QString MainWindow::inpatientNumber() const {
    return 编辑框26->text();
}

QString MainWindow::patientName() const {
    return 编辑框1->text();
}

QDateTime MainWindow::admissionDate() const {
    return 日期框1->dateTime();
}

QDateTime MainWindow::dischargeDate() const {
    return 日期框2->dateTime();
}

void MainWindow::setStatusLine(const QString& text) {
    标签1->setText(text);
}

void MainWindow::setCashierPanel(const QString& cashier) {
    标签2->setText(kCashierPrefix + cashier);
}

void MainWindow::setCalculateAndPrintEnabled(bool enabled) {
    按钮1->setEnabled(enabled);
    按钮2->setEnabled(enabled);
}

void MainWindow::focusInpatientNumberForTyping() {
    编辑框26->setFocus();
    编辑框26->selectAll();
}

void MainWindow::focusPatientName() {
    编辑框1->setFocus();
}

void MainWindow::lockDeposit(common::Money sum) {
    编辑框24->setText(common::numberToText(sum));
    编辑框24->setReadOnly(true);
    编辑框24->setToolTip(QStringLiteral("预收由预交金记录填入，不能修改"));
    recalculateBalance();
}

void MainWindow::unlockDeposit(bool clearLedgerSum) {
    if (!编辑框24->isReadOnly()) {
        return;
    }
    编辑框24->setReadOnly(false);
    编辑框24->setToolTip(QString());
    if (clearLedgerSum) {
        编辑框24->clear();
    }
    recalculateBalance();
}

bool MainWindow::isDepositLocked() const {
    return 编辑框24->isReadOnly();
}

void MainWindow::showReceiptEntry(const ReceiptEntry& entry) {
    编辑框1->setText(entry.patientName);
    setDatesUnchecked(entry.admission, entry.discharge);
    标签43->setText(common::stayLengthText(日期框1->dateTime(), 日期框2->dateTime()));
    for (std::size_t index = 0; index < m_feeBoxes.size(); ++index) {
        m_feeBoxes[index]->setText(common::numberToText(entry.fees[index]));
    }
    编辑框24->setText(common::numberToText(entry.prepaid));
    编辑框25->setText(common::numberToText(entry.supplement));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Only 退出 ends the program; the close box must not lose a receipt being typed.
    event->ignore();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut &&
        widgets::isBoxLeft(*static_cast<QFocusEvent*>(event), *static_cast<QWidget*>(watched))) {
        if (watched == 编辑框26) {
            emit inpatientNumberLeft();
        } else if (watched == 编辑框24 || watched == 编辑框25) {
            recalculateBalance();
        } else {
            recalculateTotal();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace billing
