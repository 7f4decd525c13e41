#include "register/register_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "common/dates.h"
#include "common/money_text.h"
#include "platform/clock.h"
#include "platform/services.h"
#include "register/export_path_dialog.h"
#include "register/export_run.h"
#include "register/receipt_list_model.h"
#include "register/receipt_view.h"
#include "register/reprint.h"
#include "store/cashier_admin.h"
#include "store/database.h"
#include "store/receipt_search.h"
#include "widgets/controls.h"
#include "widgets/date_range_shortcuts.h"
#include "widgets/form_style.h"
#include "widgets/message_boxes.h"
#include "widgets/spread_columns.h"

namespace receipt_register {

namespace {

const QString kAllCashiers = QStringLiteral("全部");

// Widths of the list's columns, in the order of the model's, in the window's first size; a wider
// window widens them alike.
const QList<int> kColumnWidths{104, 84, 86, 86, 44, 84, 78, 72, 72, 80, 76, 56};
// The first size: the list and the sums line below it take what a larger window adds.
constexpr QSize kFirstSize{960, 560};
constexpr int kListTop = 72;
constexpr int kMargin = 10;
constexpr int kSumsLineHeight = 20;
constexpr int kSumsLineBelow = 8;

// A control read out, and found by tests, by its label.
template <typename Control>
Control* named(Control* control, const QString& accessibleName) {
    control->setAccessibleName(accessibleName);
    return control;
}

QString sumsText(const store::ReceiptTotals& totals) {
    if (totals.count == 0) {
        return QStringLiteral("共0张");
    }
    const QString voided = totals.voided == 0
                               ? QString()
                               : QStringLiteral("（作废%1张，不计入合计）").arg(totals.voided);
    return QStringLiteral("共%1张%2　合计：%3　补收：%4　退款：%5　欠费：%6")
        .arg(QString::number(totals.count), voided)
        .arg(common::moneyText(totals.total), common::moneyText(totals.supplement),
             common::moneyText(totals.refund), common::moneyText(totals.arrears));
}

}  // namespace

RegisterWindow::RegisterWindow(const platform::Services& services, store::Database& database,
                               const QString& cashier, QWidget* parent)
    : QDialog(parent), m_services(services), m_database(database), m_cashier(cashier) {
    setWindowTitle(QStringLiteral("查询"));
    widgets::placeWindow(*this, kFirstSize);
    // The finance office reads long lists on wide screens.
    setMinimumSize(kFirstSize);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setSizeGripEnabled(true);
    setFont(widgets::formFont());
    createControls();
    fillCashiers();

    const QDate today = services.clock.now().date();
    日期框1->setDateTime(common::startOfDay(QDate(today.year(), today.month(), 1)));
    日期框2->setDateTime(
        common::startOfDay(QDate(today.year(), today.month(), today.daysInMonth())));

    connect(日期框1, &QDateEdit::dateChanged, this, &RegisterWindow::checkRange);
    connect(日期框2, &QDateEdit::dateChanged, this, &RegisterWindow::checkRange);
    connect(按钮1, &QPushButton::clicked, this, &RegisterWindow::find);
    connect(按钮2, &QPushButton::clicked, this, &RegisterWindow::viewChosen);
    connect(按钮3, &QPushButton::clicked, this, &RegisterWindow::reprintChosen);
    connect(按钮4, &QPushButton::clicked, this, &RegisterWindow::exportFound);
    connect(表格1, &QTableView::doubleClicked, this, &RegisterWindow::viewChosen);
    connect(表格1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &RegisterWindow::updateButtons);
    // Told once the view has finished the scroll that asked for the page.
    connect(m_model, &ReceiptListModel::fetchFailed, this, &RegisterWindow::showError,
            Qt::QueuedConnection);
    updateButtons();
    编辑框1->setFocus();
}

RegisterWindow::~RegisterWindow() = default;

void RegisterWindow::createControls() {
    const auto label = [this](const char* name, const QString& caption, QRect geometry) {
        return widgets::makeLabel(this, QString::fromUtf8(name), caption, geometry);
    };
    标签1 = label("标签1", QStringLiteral("住院号"), {10, 12, 45, 20});
    编辑框1 = named(widgets::makeEditBox(this, QStringLiteral("编辑框1"), {58, 10, 110, 22}),
                    QStringLiteral("住院号"));
    标签2 = label("标签2", QStringLiteral("姓名"), {182, 12, 32, 20});
    编辑框2 = named(widgets::makeEditBox(this, QStringLiteral("编辑框2"), {216, 10, 100, 22}),
                    QStringLiteral("姓名"));
    标签3 = label("标签3", QStringLiteral("出院日期"), {330, 12, 56, 20});
    日期框1 = named(widgets::makeDateBox(this, QStringLiteral("日期框1"), {388, 10, 110, 22}),
                    QStringLiteral("出院日期从"));
    标签4 = label("标签4", QStringLiteral("至"), {504, 12, 16, 20});
    日期框2 = named(widgets::makeDateBox(this, QStringLiteral("日期框2"), {522, 10, 110, 22}),
                    QStringLiteral("出院日期至"));
    标签5 = label("标签5", QStringLiteral("收费员"), {648, 12, 45, 20});
    组合框1 = named(new QComboBox(this), QStringLiteral("收费员"));
    widgets::placeControl(*组合框1, QStringLiteral("组合框1"), {696, 10, 120, 22});
    复选框1 = named(new QCheckBox(QStringLiteral("含作废"), this), QStringLiteral("含作废"));
    widgets::placeControl(*复选框1, QStringLiteral("复选框1"), {832, 10, 80, 22});
    标签6 = label("标签6", QString(), {10, 42, 300, 20});
    标签6->setStyleSheet(QStringLiteral("color: red"));

    const auto button = [this](const char* name, const QString& caption, int left) {
        return named(
            widgets::makeButton(this, QString::fromUtf8(name), caption, {left, 38, 80, 26}),
            caption);
    };
    按钮1 = button("按钮1", QStringLiteral("查找"), 520);
    按钮2 = button("按钮2", QStringLiteral("查看"), 630);
    按钮3 = button("按钮3", QStringLiteral("补打"), 740);
    按钮4 = button("按钮4", QStringLiteral("导出"), 850);
    // Enter in any filter runs the search; the other buttons act only when clicked or chosen.
    for (QPushButton* other : {按钮2, 按钮3, 按钮4}) {
        other->setAutoDefault(false);
    }
    按钮1->setDefault(true);
    const QList<QPushButton*> shortcuts = widgets::makeRangeShortcuts(
        *日期框1, *日期框2, m_services.clock.now().date(), [this] { find(); }, this);
    for (int index = 0; index < std::ssize(shortcuts); ++index) {
        shortcuts[index]->setGeometry(330 + 54 * index, 38, 50, 26);
    }

    m_model = new ReceiptListModel(m_database, this);
    表格1 = named(new QTableView(this), QStringLiteral("收据"));
    表格1->setObjectName(QStringLiteral("表格1"));
    表格1->setModel(m_model);
    表格1->setSelectionBehavior(QAbstractItemView::SelectRows);
    表格1->setSelectionMode(QAbstractItemView::SingleSelection);
    表格1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    表格1->verticalHeader()->hide();
    表格1->verticalHeader()->setDefaultSectionSize(22);
    widgets::spreadColumns(*表格1, kColumnWidths);
    表格1->installEventFilter(this);
    标签7 = label("标签7", QString(), {});
    placeListAndSums();
}

void RegisterWindow::placeListAndSums() {
    const int sumsTop = height() - kSumsLineBelow - kSumsLineHeight;
    表格1->setGeometry(kMargin, kListTop, width() - 2 * kMargin,
                       sumsTop - kSumsLineBelow - kListTop);
    标签7->setGeometry(kMargin, sumsTop, width() - 2 * kMargin, kSumsLineHeight);
}

void RegisterWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    placeListAndSums();
}

void RegisterWindow::fillCashiers() {
    组合框1->addItem(kAllCashiers);
    QList<store::CashierEntry> cashiers;
    QString error;
    // A table that cannot be read is told by the search that follows.
    if (store::listCashiers(m_database, &cashiers, &error)) {
        for (const store::CashierEntry& cashier : cashiers) {
            if (组合框1->findText(cashier.name, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
                组合框1->addItem(cashier.name);
            }
        }
    }
}

// A first day after the last stays as typed, so that the cashier can go on to the other box.
void RegisterWindow::checkRange() {
    const bool valid = 日期框1->date() <= 日期框2->date();
    标签6->setText(valid ? QString() : QStringLiteral("日期输入错误！"));
    按钮1->setEnabled(valid);
}

store::ReceiptFilter RegisterWindow::typedFilter() const {
    store::ReceiptFilter filter;
    filter.numberPrefix = 编辑框1->text();
    filter.namePart = 编辑框2->text();
    filter.firstDischarge = 日期框1->date();
    filter.lastDischarge = 日期框2->date();
    // 全部 is the list's first entry; a cashier of that name is a later one.
    filter.cashier = 组合框1->currentIndex() > 0 ? 组合框1->currentText() : QString();
    filter.withVoided = 复选框1->isChecked();
    return filter;
}

void RegisterWindow::find() {
    if (!按钮1->isEnabled()) {
        return;
    }
    const store::ReceiptFilter filter = typedFilter();
    m_foundCount = 0;
    标签7->clear();
    QString error;
    store::ReceiptTotals totals;
    if (!m_model->search(filter, &error) ||
        !store::ReceiptSearch(m_database, filter, {}).totals(&totals, &error)) {
        m_model->clear();
        updateButtons();
        showError(error);
        return;
    }
    m_foundCount = totals.count;
    标签7->setText(sumsText(totals));
    if (m_model->rowCount() > 0) {
        表格1->selectRow(0);
    }
    updateButtons();
}

void RegisterWindow::updateButtons() {
    const int row = chosenRow();
    按钮2->setEnabled(row >= 0);
    // A voided receipt is no receipt to hand out again.
    按钮3->setEnabled(row >= 0 && !m_model->isVoided(row));
    按钮4->setEnabled(m_foundCount > 0 && m_model->filter() != nullptr);
}

int RegisterWindow::chosenRow() const {
    const QModelIndex current = 表格1->selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

bool RegisterWindow::eventFilter(QObject* watched, QEvent* event) {
    // Enter on a listed receipt opens it; it must not reach the dialog's default button.
    if (watched == 表格1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            viewChosen();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void RegisterWindow::viewChosen() {
    const int row = chosenRow();
    if (row < 0) {
        return;
    }
    if (m_model->isVoided(row)) {
        showVoidedReceipt(this, m_services, m_database, m_model->recordId(row));
    } else if (showReceipt(this, m_services, m_database, m_cashier, m_model->shownReceipt(row))) {
        // The list and its sums show the receipt as it now is.
        find();
    }
}

void RegisterWindow::reprintChosen() {
    const int row = chosenRow();
    if (row >= 0 && !m_model->isVoided(row)) {
        reprint(this, m_database, m_services, m_cashier, m_model->shownReceipt(row));
    }
}

void RegisterWindow::exportFound() {
    const store::ReceiptFilter* filter = m_model->filter();
    if (filter == nullptr || m_foundCount == 0) {
        return;
    }
    const QString path =
        askExportPath(this, exportFileName(filter->firstDischarge, filter->lastDischarge));
    if (path.isEmpty()) {
        return;
    }
    if (!exportFormatOf(path)) {
        showError(QStringLiteral("只能导出为 .xlsx 或 .csv 文件。"));
        return;
    }
    const ExportResult result = runExport(this, m_database.location(), *filter, path, m_foundCount);
    switch (result.outcome) {
        case ExportResult::Outcome::Written:
            m_services.messageBoxes.show(this, {QStringLiteral("已导出%1张收据：\n%2")
                                                    .arg(result.receipts)
                                                    .arg(QDir::toNativeSeparators(path)),
                                                QStringLiteral("导出"), widgets::MessageButtons::Ok,
                                                widgets::MessageIcon::Information});
            break;
        case ExportResult::Outcome::Cancelled:
            break;
        case ExportResult::Outcome::Failed:
            showError(QStringLiteral("导出没有完成，没有写出文件。\n") + result.error);
            break;
    }
}

void RegisterWindow::showError(const QString& text) {
    m_services.messageBoxes.show(this, widgets::errorMessage(text));
}

}  // namespace receipt_register
