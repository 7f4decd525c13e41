#include "store/receipt_search.h"

#include "storage/storage_engine.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/table.h"

namespace store {

namespace {

using storage::TextMatch;

storage::RecordSearch recordSearch(const ReceiptFilter& filter, const QList<int>& fields) {
    const TableSchema& receipts = receiptSchema();
    storage::RecordSearch search;
    search.tables = {&receipts};
    search.texts = {
        {receipts.indexOf(kInpatientNumberField), TextMatch::StartsWith, filter.numberPrefix},
        {receipts.indexOf(kPatientNameField), TextMatch::Contains, filter.namePart},
    };
    if (!filter.cashier.isEmpty()) {
        search.texts.append({receipts.indexOf(kCashierField), TextMatch::Equals, filter.cashier});
    }
    search.dateField = receipts.indexOf(kDischargeDateField);
    search.firstDay = filter.firstDischarge;
    search.lastDay = filter.lastDischarge;
    search.fields = fields;
    search.amountFields = {receipts.indexOf(kTotalField), receipts.indexOf(kSupplementField),
                           receipts.indexOf(kRefundField), receipts.indexOf(kArrearsField)};
    search.markTable = &receiptHistorySchema();
    search.markField = receipts.indexOf(kInpatientNumberField);
    return search;
}

}  // namespace

QString statusText(ReceiptStatus status) {
    switch (status) {
        case ReceiptStatus::Corrected:
            return QStringLiteral("已更正");
        case ReceiptStatus::Normal:
            break;
    }
    return QStringLiteral("正常");
}

ReceiptSearch::ReceiptSearch(Database& database, const ReceiptFilter& filter,
                             const QList<int>& fields)
    : m_database(database), m_filter(filter), m_search(recordSearch(filter, fields)) {}

bool ReceiptSearch::next(int count, QList<FoundReceipt>* receipts, QString* error) {
    if (m_atEnd) {
        return true;
    }
    QList<storage::FoundRecord> found;
    QString reason;
    if (!m_database.engine().search(m_search, m_after, count, &found, &reason)) {
        *error = m_database.unusableMessage(reason);
        return false;
    }
    m_atEnd = found.size() < count;
    if (!found.isEmpty()) {
        m_after = found.constLast().position;
    }
    for (storage::FoundRecord& record : found) {
        receipts->append({record.position.id, std::move(record.values),
                          record.marked ? ReceiptStatus::Corrected : ReceiptStatus::Normal});
    }
    return true;
}

bool ReceiptSearch::totals(ReceiptTotals* totals, QString* error) {
    storage::SearchTotals found;
    QString reason;
    if (!m_database.engine().searchTotals(m_search, &found, &reason)) {
        *error = m_database.unusableMessage(reason);
        return false;
    }
    *totals = {found.count, found.sums.value(0), found.sums.value(1), found.sums.value(2),
               found.sums.value(3)};
    return true;
}

std::optional<QVariantList> readReceipt(Database& database, storage::RecordId id, QString* error) {
    Table table(database);
    if (!table.open(kReceiptTable) || !table.goToRecord(id)) {
        *error = table.lastError();
        return std::nullopt;
    }
    QVariantList values;
    for (int field = 0; field < kReceiptFieldCount; ++field) {
        values.append(table.readField(field));
    }
    return values;
}

}  // namespace store
