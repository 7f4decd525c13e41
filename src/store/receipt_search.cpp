#include "store/receipt_search.h"

#include <QHash>

#include "storage/storage_engine.h"
#include "store/database.h"
#include "store/journal.h"
#include "store/schema.h"
#include "store/shift_tables.h"
#include "store/stored_values.h"
#include "store/table.h"

namespace store {

namespace {

using storage::TextMatch;

storage::RecordSearch recordSearch(const ReceiptFilter& filter, const QList<int>& fields) {
    const TableSchema& receipts = receiptSchema();
    storage::RecordSearch search;
    // The voided receipts' table has the receipt's fields at the same positions.
    search.tables = {&receipts};
    if (filter.withVoided) {
        search.tables.append(&voidedReceiptSchema());
    }
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

// A receipt's 30 fields with the found values in their places, the rest absent.
QVariantList wholeReceipt(const QList<int>& fields, const QVariantList& values) {
    QVariantList receipt(kReceiptFieldCount);
    for (qsizetype at = 0; at < fields.size() && at < values.size(); ++at) {
        receipt[fields[at]] = values[at];
    }
    return receipt;
}

// The identities of the voided receipts of these numbers, by number, in the order they were
// voided.
bool readVoidedOrder(Database& database, const QStringList& numbers,
                     QHash<QString, QList<storage::RecordId>>* order,
                     QHash<storage::RecordId, QString>* reasons, QString* error) {
    const TableSchema& voided = voidedReceiptSchema();
    const int numberField = voided.indexOf(kInpatientNumberField);
    storage::RecordSelection selection{
        &voided, {numberField, voided.indexOf(kVoidReasonField)}, {}, -1, {}, {}, numberField, {}};
    for (const QString& number : numbers) {
        selection.oneOfValues.append(number);
    }
    QString reason;
    if (!database.engine().select(
            selection,
            [&](storage::RecordId id, const storage::RecordValues& values) {
                (*order)[values.value(0).toString()].append(id);
                reasons->insert(id, values.value(1).toString());
            },
            &reason)) {
        *error = database.unusableMessage(reason);
        return false;
    }
    return true;
}

// The receipt's fields of the record the table stands on.
QVariantList receiptFields(const Table& table) {
    QVariantList values;
    for (int field = 0; field < kReceiptFieldCount; ++field) {
        values.append(table.readField(field));
    }
    return values;
}

}  // namespace

QString statusText(ReceiptStatus status) {
    switch (status) {
        case ReceiptStatus::Corrected:
            return QStringLiteral("已更正");
        case ReceiptStatus::Voided:
            return QStringLiteral("作废");
        case ReceiptStatus::Normal:
            break;
    }
    return QStringLiteral("正常");
}

bool readPayments(Database& database, const QList<int>& fields, QList<FoundReceipt>* receipts,
                  QString* error) {
    const int numberAt =
        static_cast<int>(fields.indexOf(receiptSchema().indexOf(kInpatientNumberField)));
    const auto numberOf = [&](const FoundReceipt& receipt) {
        return receipt.values.value(numberAt).toString();
    };
    QStringList numbers;
    QStringList voidedNumbers;
    for (const FoundReceipt& receipt : std::as_const(*receipts)) {
        numbers.append(numberOf(receipt));
        if (receipt.status == ReceiptStatus::Voided) {
            voidedNumbers.append(numberOf(receipt));
        }
    }
    numbers.removeDuplicates();
    voidedNumbers.removeDuplicates();
    QList<JournalEntry> rows;
    QHash<QString, QList<storage::RecordId>> voidedOrder;
    QHash<storage::RecordId, QString> voidReasons;
    if (!readNumbersEntries(database, numbers, &rows, error) ||
        (!voidedNumbers.isEmpty() &&
         !readVoidedOrder(database, voidedNumbers, &voidedOrder, &voidReasons, error))) {
        return false;
    }
    QHash<QString, QList<JournalEntry>> rowsByNumber;
    for (const JournalEntry& row : std::as_const(rows)) {
        rowsByNumber[row.inpatientNumber].append(row);
    }
    for (FoundReceipt& receipt : *receipts) {
        const QList<JournalEntry> numberRows = rowsByNumber.value(numberOf(receipt));
        if (receipt.status != ReceiptStatus::Voided) {
            receipt.payment = currentPayment(wholeReceipt(fields, receipt.values), numberRows);
            continue;
        }
        // Each void of a number moved one receipt to the voided ones and wrote its rows, in
        // the same order.
        const qsizetype nth = voidedOrder.value(numberOf(receipt)).indexOf(receipt.recordId);
        const QList<QList<JournalEntry>> voided = splitByReceipt(numberRows).voided;
        receipt.payment =
            nth >= 0 && nth < voided.size() ? voidedPayment(voided[nth]) : ReceiptPayment{};
        receipt.voidReason = voidReasons.value(receipt.recordId);
    }
    return true;
}

ReceiptSearch::ReceiptSearch(Database& database, const ReceiptFilter& filter,
                             const QList<int>& fields, bool withPayments)
    : m_database(database),
      m_filter(filter),
      m_search(recordSearch(filter, fields)),
      m_withPayments(withPayments) {}

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
    QList<FoundReceipt> page;
    for (storage::FoundRecord& record : found) {
        const ReceiptStatus status = record.position.table > 0 ? ReceiptStatus::Voided
                                     : record.marked           ? ReceiptStatus::Corrected
                                                               : ReceiptStatus::Normal;
        page.append({record.position.id, std::move(record.values), status});
    }
    if (m_withPayments && !page.isEmpty() &&
        !readPayments(m_database, m_search.fields, &page, error)) {
        return false;
    }
    *receipts += std::move(page);
    return true;
}

bool ReceiptSearch::totals(ReceiptTotals* totals, QString* error) {
    // Each table on its own: the voided receipts are counted, never summed.
    QList<storage::SearchTotals> found;
    for (const TableSchema* table : m_search.tables) {
        storage::RecordSearch search = m_search;
        search.tables = {table};
        if (table != m_search.tables.first()) {
            search.amountFields.clear();
        }
        QString reason;
        if (!m_database.engine().searchTotals(search, &found.emplaceBack(), &reason)) {
            *error = m_database.unusableMessage(reason);
            return false;
        }
    }
    const QList<common::Money>& sums = found.first().sums;
    const qint64 voided = found.size() > 1 ? found[1].count : 0;
    *totals = {found.first().count + voided,
               voided,
               sums.value(0),
               sums.value(1),
               sums.value(2),
               sums.value(3)};
    return true;
}

std::optional<QVariantList> readReceipt(Database& database, storage::RecordId id, QString* error) {
    Table table(database);
    if (!table.open(kReceiptTable) || !table.goToRecord(id)) {
        *error = table.lastError();
        return std::nullopt;
    }
    return receiptFields(table);
}

ShownReceipt shownWhole(storage::RecordId recordId, const QVariantList& values) {
    ShownReceipt shown{recordId, {}, values};
    for (int field = 0; field < receiptSchema().columns.size(); ++field) {
        shown.fields.append(field);
    }
    return shown;
}

bool isAsShown(const QVariantList& record, const ShownReceipt& shown) {
    const storage::TableSchema& table = receiptSchema();
    if (shown.fields.size() != shown.values.size()) {
        return false;
    }
    for (int at = 0; at < shown.fields.size(); ++at) {
        const int field = shown.fields[at];
        if (field < 0 || field >= record.size() ||
            !sameValue(table.columns[field].kind, record[field], shown.values[at])) {
            return false;
        }
    }
    return true;
}

std::optional<VoidedReceipt> readVoidedReceipt(Database& database, storage::RecordId id,
                                               QString* error) {
    Table table(database);
    if (!table.open(voidedReceiptSchema().name) || !table.goToRecord(id)) {
        *error = table.lastError();
        return std::nullopt;
    }
    VoidedReceipt voided;
    voided.values = receiptFields(table);
    voided.voidedAt = table.readField(kVoidedAtField).toDateTime();
    voided.voidedBy = table.readField(kVoidedByField).toString();
    voided.reason = table.readField(kVoidReasonField).toString();
    return voided;
}

}  // namespace store
