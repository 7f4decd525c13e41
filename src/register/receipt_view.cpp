#include "register/receipt_view.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "common/money_text.h"
#include "common/number_text.h"
#include "platform/services.h"
#include "printing/page_preview.h"
#include "printing/receipt_page.h"
#include "receipt/fee_category.h"
#include "register/receipt_texts.h"
#include "register/reprint.h"
#include "register/void_receipt.h"
#include "store/journal.h"
#include "store/journal_kind.h"
#include "store/receipt_search.h"
#include "store/schema.h"
#include "widgets/form_style.h"
#include "widgets/message_boxes.h"

namespace receipt_register {

namespace {

// What a screen reader says of the page, which is a picture to it: the receipt's number, name
// and amounts, each after its name.
QString readAloud(const QVariantList& values) {
    QStringList parts;
    for (const QStringView field :
         {store::kInpatientNumberField, store::kPatientNameField, store::kTotalField,
          store::kPrepaidField, store::kSupplementField, store::kRefundField,
          store::kArrearsField}) {
        const QVariant value = values.value(store::receiptSchema().indexOf(field));
        parts.append(field.toString() + QStringLiteral("：") +
                     (value.metaType() == QMetaType::fromType<common::Money>()
                          ? common::numberToText(value.value<common::Money>())
                          : value.toString()));
    }
    return parts.join(QStringLiteral("，"));
}

// The receipt's values lie in the top 65 mm of the page; a form picture may reach further.
constexpr int kReceiptDepth = 700;
constexpr int kLongestPageView = 560;

const QStringList kHistoryHeaders{QStringLiteral("修改时间"), QStringLiteral("项目"),
                                  QStringLiteral("原值"), QStringLiteral("新值")};

constexpr int kFirstHistoryValue = 2;

storage::FieldKind fieldKind(const QString& fieldName) {
    return store::receiptSchema().columns[store::receiptSchema().indexOf(fieldName)].kind;
}

bool isAmount(const QString& fieldName) {
    return !fieldName.isEmpty() && fieldKind(fieldName) == storage::FieldKind::Amount;
}

QString valueText(const QString& fieldName, const QVariant& value) {
    switch (fieldKind(fieldName)) {
        case storage::FieldKind::Text:
        case storage::FieldKind::Integer:
            return value.toString();
        case storage::FieldKind::DateTime:
            return dateText(value.toDateTime());
        case storage::FieldKind::Amount:
            break;
    }
    return common::moneyText(value.value<common::Money>());
}

int pixels(int tenthsOfMillimetre) {
    return tenthsOfMillimetre * printing::PagePreview::kDotsPerInch / 254;
}

QList<int> everyField() {
    QList<int> fields;
    for (int field = 0; field < store::kReceiptFieldCount; ++field) {
        fields.append(field);
    }
    return fields;
}

// 付款方式：… of the receipt, as its journal rows tell it; none when they cannot be read (the
// cashier has been told why).
std::optional<QString> paymentLine(QWidget* parent, const platform::Services& services,
                                   store::Database& database, const store::FoundReceipt& receipt) {
    QList<store::FoundReceipt> one{receipt};
    QString error;
    if (!store::readPayments(database, everyField(), &one, &error)) {
        services.messageBoxes.show(parent, widgets::errorMessage(error));
        return std::nullopt;
    }
    const QString text = paymentText(one.first().payment);
    return QStringLiteral("付款方式：") + (text.isEmpty() ? QStringLiteral("无") : text);
}

// 补打 with when, by whom and why, one line for each reprint since the receipt was issued under
// its number; none when the journal cannot be read (the cashier has been told why).
std::optional<QString> reprintLines(QWidget* parent, const platform::Services& services,
                                    store::Database& database, const QVariantList& values) {
    const QString number =
        values.value(store::receiptSchema().indexOf(store::kInpatientNumberField)).toString();
    QList<store::JournalEntry> entries;
    QString error;
    if (!store::readNumbersEntries(database, {number}, &entries, &error)) {
        services.messageBoxes.show(parent, widgets::errorMessage(error));
        return std::nullopt;
    }
    QStringList lines;
    for (const store::JournalEntry& entry : entries) {
        if (entry.kind == store::JournalKind::New) {
            lines.clear();
        } else if (entry.kind == store::JournalKind::Reprint) {
            lines
                << QStringLiteral("补打：%1　收费员：%2").arg(dateText(entry.time), entry.cashier) +
                       (entry.reprintReason.isEmpty()
                            ? QString()
                            : QStringLiteral("　原因：") + entry.reprintReason);
        }
    }
    return lines.join(u'\n');
}

}  // namespace

ReceiptView::ReceiptView(const platform::Services& services, const QVariantList& values,
                         QWidget* parent)
    : QDialog(parent) {
    const QString number =
        values.value(store::receiptSchema().indexOf(store::kInpatientNumberField)).toString();
    setWindowTitle(QStringLiteral("收据 %1").arg(number));
    setFont(widgets::formFont());

    m_layout = new QVBoxLayout(this);
    m_layout->addWidget(makePage(services, values));
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("说明"));
    m_note->setWordWrap(true);
    m_note->hide();
    m_layout->addWidget(m_note);
    m_layout->addStretch(1);

    m_buttonRow = new QHBoxLayout;
    m_buttonRow->addStretch(1);
    m_closeButton = addButton(QStringLiteral("关闭"));
    m_layout->addLayout(m_buttonRow);

    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::accept);
    m_closeButton->setDefault(true);
}

QPushButton* ReceiptView::addButton(const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(caption);
    button->setAccessibleName(caption);
    button->setAutoDefault(false);
    // The row ends with 关闭; a new button goes before it.
    const int closePosition =
        m_closeButton == nullptr ? m_buttonRow->count() : m_buttonRow->indexOf(m_closeButton);
    m_buttonRow->insertWidget(closePosition, button);
    // A button added to a view already shown shows at once, not at the next turn of events.
    button->show();
    return button;
}

void ReceiptView::setNote(const QString& text) {
    m_note->setText(text);
    m_note->setAccessibleName(text);
    m_note->show();
}

void ReceiptView::showCorrections(const QList<store::Correction>& corrections) {
    // In the place of the stretch, above the buttons.
    const int stretch = m_layout->count() - 2;
    delete m_layout->takeAt(stretch);
    m_layout->insertWidget(stretch, makeHistory(corrections), 1);
}

QWidget* ReceiptView::makePage(const platform::Services& services, const QVariantList& values) {
    auto* preview = new printing::PagePreview(printing::receiptPage(
        [&values](const QString& name) {
            return values.value(store::receiptSchema().indexOf(name));
        },
        services.office, services.deskForm.image.isNull()));
    preview->setObjectName(QStringLiteral("收据页面"));
    preview->setAccessibleName(QStringLiteral("收据页面"));
    preview->setAccessibleDescription(readAloud(values));
    preview->setForm(services.deskForm);

    auto* area = new QScrollArea(this);
    area->setWidget(preview);
    area->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    const int depth = std::max(
        kReceiptDepth, services.deskForm.image.isNull() ? 0 : services.deskForm.area.bottom());
    area->setFixedHeight(std::min(pixels(depth) + 2 * area->frameWidth(), kLongestPageView));
    area->setMinimumWidth(preview->width() + area->verticalScrollBar()->sizeHint().width() +
                          2 * area->frameWidth());
    return area;
}

QWidget* ReceiptView::makeHistory(const QList<store::Correction>& corrections) {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(corrections.isEmpty() ? QStringLiteral("更正记录：没有更正过。")
                                                     : QStringLiteral("更正记录："),
                               box);
    layout->addWidget(caption);
    if (corrections.isEmpty()) {
        layout->addStretch(1);
        return box;
    }
    auto* table = new QTableWidget(0, static_cast<int>(kHistoryHeaders.size()), box);
    table->setObjectName(QStringLiteral("更正记录"));
    table->setAccessibleName(QStringLiteral("更正记录"));
    table->setHorizontalHeaderLabels(kHistoryHeaders);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    for (const store::Correction& correction : corrections) {
        const QString when = correction.changedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        // A correction that changed nothing is still one that was made.
        const QList<store::FieldChange> changes =
            correction.changes.isEmpty() ? QList<store::FieldChange>{{}} : correction.changes;
        for (const store::FieldChange& change : changes) {
            const int row = table->rowCount();
            table->insertRow(row);
            const QStringList texts{
                when,
                change.field.isEmpty() ? QStringLiteral("（没有改动）")
                                       : receipt::shownFieldName(change.field),
                change.field.isEmpty() ? QString() : valueText(change.field, change.before),
                change.field.isEmpty() ? QString() : valueText(change.field, change.after)};
            const bool amount = isAmount(change.field);
            for (int column = 0; column < texts.size(); ++column) {
                auto* cell = new QTableWidgetItem(texts[column]);
                if (amount && column >= kFirstHistoryValue) {
                    cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                }
                table->setItem(row, column, cell);
            }
        }
    }
    table->resizeColumnsToContents();
    layout->addWidget(table, 1);
    return box;
}

bool showReceipt(QWidget* parent, const platform::Services& services, store::Database& database,
                 const QString& cashier, const store::ShownReceipt& listed) {
    const storage::RecordId id = listed.recordId;
    QString error;
    const std::optional<QVariantList> values = store::readReceipt(database, id, &error);
    QList<store::Correction> corrections;
    if (!values || !store::receiptCorrections(database, *values, &corrections, &error)) {
        services.messageBoxes.show(
            parent, widgets::errorMessage(
                        error.isEmpty() ? QStringLiteral("这张收据已不在收据表中。") : error));
        return false;
    }
    if (!store::isAsShown(*values, listed)) {
        services.messageBoxes.show(
            parent, widgets::errorMessage(QStringLiteral(
                        "这张收据在列出之后已被修改或作废。\n请重新查找后再查看。")));
        return false;
    }
    const std::optional<QString> payment =
        paymentLine(parent, services, database, {id, *values, store::ReceiptStatus::Normal});
    if (!payment) {
        return false;
    }
    const std::optional<QString> reprints = reprintLines(parent, services, database, *values);
    if (!reprints) {
        return false;
    }
    ReceiptView view(services, *values, parent);
    view.setNote(reprints->isEmpty() ? *payment : *payment + u'\n' + *reprints);
    view.showCorrections(corrections);
    QPushButton* reprintButton = view.addButton(QStringLiteral("补打"));
    QPushButton* voidButton = view.addButton(QStringLiteral("作废"));
    if (const QString forbidden = voidForbiddenReason(*values, cashier); !forbidden.isEmpty()) {
        voidButton->setEnabled(false);
        voidButton->setToolTip(forbidden);
        voidButton->setAccessibleDescription(forbidden);
    }
    QObject::connect(reprintButton, &QPushButton::clicked, &view, [&] {
        reprint(&view, database, services, cashier, store::shownWhole(id, *values));
    });
    bool voided = false;
    QObject::connect(voidButton, &QPushButton::clicked, &view, [&] {
        voided = voidShownReceipt(&view, services, database, cashier, {id, *values});
        if (voided) {
            view.accept();
        }
    });
    view.exec();
    return voided;
}

void showVoidedReceipt(QWidget* parent, const platform::Services& services,
                       store::Database& database, storage::RecordId id) {
    QString error;
    const std::optional<store::VoidedReceipt> voided =
        store::readVoidedReceipt(database, id, &error);
    if (!voided) {
        services.messageBoxes.show(
            parent,
            widgets::errorMessage(error.isEmpty() ? QStringLiteral("这张作废的收据已不在作废表中。")
                                                  : error));
        return;
    }
    const std::optional<QString> payment =
        paymentLine(parent, services, database, {id, voided->values, store::ReceiptStatus::Voided});
    if (!payment) {
        return;
    }
    ReceiptView view(services, voided->values, parent);
    view.setNote(QStringLiteral("已作废：%1　收费员：%2　原因：%3\n%4")
                     .arg(dateText(voided->voidedAt), voided->voidedBy, voided->reason, *payment));
    view.exec();
}

}  // namespace receipt_register
