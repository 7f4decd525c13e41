#include "shift/drawer_count_dialog.h"

#include <algorithm>

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/money_text.h"
#include "common/money_words.h"
#include "common/number_text.h"
#include "shift/shift_report.h"
#include "widgets/form_style.h"
#include "widgets/input_validators.h"
#include "widgets/window_controls.h"

namespace shift {

namespace {

constexpr int kLongestCountText = 5;
constexpr int kLongestAmountText = 12;

// Read out as the value it shows, after its caption.
QLabel* makeValue(const QString& name, const QString& text, QWidget* parent) {
    auto* value = new QLabel(text, parent);
    value->setObjectName(name);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return value;
}

QLineEdit* makeBox(const QString& name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAccessibleName(name);
    return box;
}

}  // namespace

QString countProblemText(store::CountProblem problem) {
    switch (problem) {
        case store::CountProblem::TooManyPieces:
            return QStringLiteral("每种面额的张数应在 0 到 %1 之间。").arg(store::kMostPieces);
        case store::CountProblem::NegativeSum:
            return QStringLiteral("实点现金不能是负数。");
        case store::CountProblem::NoRemark:
            return QStringLiteral("实点现金与应有现金不符，请在“长短款说明”里写明原因。");
        case store::CountProblem::RemarkTooLong:
            return QStringLiteral("长短款说明最多 %1 个字。").arg(store::kLongestDifferenceRemark);
        case store::CountProblem::None:
            break;
    }
    return {};
}

DrawerCountDialog::DrawerCountDialog(const store::ShiftFigures& figures, common::Money cashFloat,
                                     QWidget* parent)
    : QDialog(parent), m_cashDue(figures.cashDue()), m_cashFloat(cashFloat) {
    setWindowTitle(QStringLiteral("交班点钞"));
    setFont(widgets::formFont());

    auto* owed = new QFormLayout;
    owed->addRow(QStringLiteral("本班记录："),
                 makeValue(QStringLiteral("本班笔数"),
                           QStringLiteral("%1笔").arg(figures.totalEvents()), this));
    owed->addRow(QStringLiteral("应交现金："),
                 makeValue(QStringLiteral("应交现金"), yuanText(m_cashDue), this));
    owed->addRow(QStringLiteral("大写："), makeValue(QStringLiteral("应交现金（大写）"),
                                                     common::moneyWords(m_cashDue), this));
    owed->addRow(QStringLiteral("备用金："),
                 makeValue(QStringLiteral("备用金"), yuanText(m_cashFloat), this));
    owed->addRow(QStringLiteral("应有现金："),
                 makeValue(QStringLiteral("应有现金"), yuanText(m_cashFloat + m_cashDue), this));

    m_counted = makeBox(QStringLiteral("实点现金"), this);
    m_counted->setValidator(widgets::makeAmountValidator(m_counted, kLongestAmountText));
    m_difference = makeValue(QStringLiteral("长短款"), {}, this);
    m_remark = makeBox(QStringLiteral("长短款说明"), this);
    m_remark->setMaxLength(store::kLongestDifferenceRemark);
    auto* counted = new QFormLayout;
    counted->addRow(QStringLiteral("实点现金："), m_counted);
    counted->addRow(QStringLiteral("长短款："), m_difference);
    counted->addRow(QStringLiteral("长短款说明："), m_remark);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("点钞提示"));
    m_status->setWordWrap(true);
    QPushButton* settle = widgets::makeNamedButton(QStringLiteral("确定交班"), this);
    QPushButton* cancel = widgets::makeNamedButton(QStringLiteral("取消"), this);
    settle->setDefault(true);
    connect(settle, &QPushButton::clicked, this, &DrawerCountDialog::settle);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_counted, &QLineEdit::textEdited, this, &DrawerCountDialog::countChanged);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_status, 1);
    buttons->addWidget(settle);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(owed);
    layout->addWidget(makeDenominations());
    layout->addLayout(counted);
    layout->addLayout(buttons);
    countChanged();
}

QWidget* DrawerCountDialog::makeDenominations() {
    auto* group =
        new QGroupBox(QStringLiteral("按面额点钞（也可以直接在“实点现金”里填合计）"), this);
    auto* grid = new QGridLayout(group);
    constexpr int kColumns = 2;
    for (std::size_t at = 0; at < store::kDenominationFen.size(); ++at) {
        const QString name = store::denominationText(store::kDenominationFen[at]);
        QLineEdit* pieces = makeBox(name, group);
        pieces->setValidator(widgets::makeDigitsValidator(pieces, kLongestCountText));
        pieces->setMaximumWidth(70);
        QLabel* sum = makeValue(name + QStringLiteral("金额"), {}, group);
        sum->setMinimumWidth(90);
        connect(pieces, &QLineEdit::textEdited, this, &DrawerCountDialog::countChanged);
        const int row = static_cast<int>(at) / kColumns;
        const int column = 4 * (static_cast<int>(at) % kColumns);
        auto* caption = new QLabel(name + QStringLiteral(" ×"), group);
        caption->setBuddy(pieces);
        grid->addWidget(caption, row, column, Qt::AlignRight);
        grid->addWidget(pieces, row, column + 1);
        grid->addWidget(new QLabel(QStringLiteral("张 ="), group), row, column + 2);
        grid->addWidget(sum, row, column + 3);
        m_pieces.append(pieces);
        m_pieceSums.append(sum);
    }
    return group;
}

store::DrawerCount DrawerCountDialog::count() const {
    store::DrawerCount count{m_cashFloat, {}, {}, m_remark->text()};
    const bool byPieces = std::any_of(m_pieces.begin(), m_pieces.end(),
                                      [](const QLineEdit* box) { return !box->text().isEmpty(); });
    if (byPieces) {
        for (const QLineEdit* box : m_pieces) {
            count.pieces.append(box->text().toLongLong());
        }
    } else {
        count.typedSum = common::textToNumber(m_counted->text());
    }
    return count;
}

void DrawerCountDialog::countChanged() {
    const store::DrawerCount typed = count();
    for (qsizetype at = 0; at < m_pieces.size(); ++at) {
        const qint64 pieces = typed.pieces.value(at);
        m_pieceSums[at]->setText(
            pieces == 0 ? QString()
                        : yuanText(common::Money::fromFen(
                              store::kDenominationFen[static_cast<std::size_t>(at)] * pieces)));
    }
    // Counted by pieces, the sum is theirs; otherwise it is typed.
    const bool byPieces = !typed.pieces.isEmpty();
    m_counted->setReadOnly(byPieces);
    if (byPieces) {
        m_counted->setText(common::moneyText(typed.counted()));
    }
    const store::DrawerBalance balance = store::drawerBalance(typed, m_cashDue);
    const bool nothingCounted = !byPieces && m_counted->text().isEmpty();
    m_difference->setText(nothingCounted ? QString() : differenceText(balance.difference));
    m_status->clear();
}

void DrawerCountDialog::settle() {
    if (m_counted->text().isEmpty()) {
        m_status->setText(
            QStringLiteral("请点清钱箱里的现金，填上实点现金（按面额或直接填合计）。"));
        m_counted->setFocus();
        return;
    }
    const store::CountProblem problem = store::checkDrawerCount(count(), m_cashDue);
    if (problem != store::CountProblem::None) {
        m_status->setText(countProblemText(problem));
        (problem == store::CountProblem::TooManyPieces ? m_pieces.first() : m_remark)->setFocus();
        return;
    }
    accept();
}

}  // namespace shift
