#include "register/receipt_list_model.h"

#include <array>

#include "common/dates.h"
#include "common/money_text.h"
#include "register/receipt_texts.h"
#include "store/schema.h"

namespace receipt_register {

namespace {

enum class Shown {
    Text,    // the field as stored
    Date,    // the field's date
    Amount,  // the field as the billing window writes amounts
    Days,    // the stay length, from the two dates
    Status,  // 正常, 已更正 or 作废
};

struct ListColumn {
    QStringView header;  // also the field shown, for the columns that show one
    Shown shown;
};

constexpr auto kColumns = std::to_array<ListColumn>({
    {u"住院号", Shown::Text},
    {u"姓名", Shown::Text},
    {u"入院日期", Shown::Date},
    {u"出院日期", Shown::Date},
    {u"天数", Shown::Days},
    {u"合计", Shown::Amount},
    {u"预交", Shown::Amount},
    {u"补收", Shown::Amount},
    {u"退款", Shown::Amount},
    {u"欠费", Shown::Amount},
    {u"收费员", Shown::Text},
    {u"状态", Shown::Status},
});

bool showsField(const ListColumn& column) {
    return column.shown != Shown::Days && column.shown != Shown::Status;
}

// The fields the list reads, in the order of its columns.
const QList<int>& listedFields() {
    static const QList<int> fields = [] {
        QList<int> positions;
        for (const ListColumn& column : kColumns) {
            if (showsField(column)) {
                positions.append(store::receiptSchema().indexOf(column.header));
            }
        }
        return positions;
    }();
    return fields;
}

// Where a field's value lies among a found receipt's values.
int valuePosition(QStringView fieldName) {
    return static_cast<int>(listedFields().indexOf(store::receiptSchema().indexOf(fieldName)));
}

}  // namespace

ReceiptListModel::ReceiptListModel(store::Database& database, QObject* parent)
    : QAbstractTableModel(parent), m_database(database) {}

ReceiptListModel::~ReceiptListModel() = default;

bool ReceiptListModel::search(const store::ReceiptFilter& filter, QString* error) {
    auto search = std::make_unique<store::ReceiptSearch>(m_database, filter, listedFields());
    QList<store::FoundReceipt> firstPage;
    const bool read = search->next(kPageRows, &firstPage, error);
    clear();
    if (!read) {
        return false;
    }
    // The first page comes as pages do, after the reset has been told: a view that answers the
    // reset by asking for more must find nothing to fetch until then.
    m_search = std::move(search);
    appendRows(std::move(firstPage));
    return true;
}

void ReceiptListModel::clear() {
    beginResetModel();
    m_search.reset();
    m_rows.clear();
    m_failed = false;
    endResetModel();
}

const store::ReceiptFilter* ReceiptListModel::filter() const {
    return m_search ? &m_search->filter() : nullptr;
}

storage::RecordId ReceiptListModel::recordId(int row) const {
    return m_rows.value(row).recordId;
}

store::ShownReceipt ReceiptListModel::shownReceipt(int row) const {
    const store::FoundReceipt found = m_rows.value(row);
    return {found.recordId, listedFields(), found.values};
}

bool ReceiptListModel::isVoided(int row) const {
    return m_rows.value(row).status == store::ReceiptStatus::Voided;
}

int ReceiptListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ReceiptListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(kColumns.size());
}

QVariant ReceiptListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const Shown shown = kColumns[index.column()].shown;
    switch (role) {
        case Qt::DisplayRole:
            return displayText(m_rows[index.row()], index.column());
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(
                Qt::AlignVCenter |
                (shown == Shown::Amount || shown == Shown::Days ? Qt::AlignRight : Qt::AlignLeft));
        default:
            return {};
    }
}

QString ReceiptListModel::displayText(const store::FoundReceipt& receipt, int column) const {
    const ListColumn& shownColumn = kColumns[column];
    const auto value = [&receipt](QStringView fieldName) {
        return receipt.values.value(valuePosition(fieldName));
    };
    switch (shownColumn.shown) {
        case Shown::Text:
            return value(shownColumn.header).toString();
        case Shown::Date:
            return dateText(value(shownColumn.header).toDateTime());
        case Shown::Amount:
            return common::moneyText(value(shownColumn.header).value<common::Money>());
        case Shown::Days:
            return QString::number(
                common::stayLengthInDays(value(store::kAdmissionDateField).toDateTime(),
                                         value(store::kDischargeDateField).toDateTime()));
        case Shown::Status:
            break;
    }
    return store::statusText(receipt.status);
}

QVariant ReceiptListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(kColumns.size())) {
        return {};
    }
    return kColumns[section].header.toString();
}

bool ReceiptListModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && m_search && !m_search->atEnd() && !m_failed && !m_appending;
}

void ReceiptListModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) {
        return;
    }
    QList<store::FoundReceipt> page;
    QString error;
    if (!m_search->next(kPageRows, &page, &error)) {
        m_failed = true;
        emit fetchFailed(error);
        return;
    }
    appendRows(std::move(page));
}

void ReceiptListModel::appendRows(QList<store::FoundReceipt> page) {
    if (page.isEmpty()) {
        return;
    }
    // Whoever hears of the new rows and asks for more meanwhile is not answered with a page
    // inside this one.
    m_appending = true;
    const auto first = static_cast<int>(m_rows.size());
    beginInsertRows({}, first, first + static_cast<int>(page.size()) - 1);
    m_rows.append(std::move(page));
    endInsertRows();
    m_appending = false;
}

}  // namespace receipt_register
