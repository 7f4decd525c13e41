#include "store/receipt_history.h"

#include <algorithm>

#include "storage/storage_engine.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/stored_values.h"

namespace store {

namespace {

constexpr int kPageRecords = 100;

// The earlier versions of one inpatient number, the latest put aside first.
storage::RecordSearch versionsOf(const QString& inpatientNumber) {
    const TableSchema& history = receiptHistorySchema();
    storage::RecordSearch search;
    search.tables = {&history};
    search.texts = {
        {history.indexOf(kInpatientNumberField), storage::TextMatch::Equals, inpatientNumber}};
    search.dateField = history.indexOf(kChangedAtField);
    for (int field = 0; field < history.columns.size(); ++field) {
        search.fields.append(field);
    }
    return search;
}

QList<FieldChange> changesBetween(const QVariantList& before, const QVariantList& after) {
    const TableSchema& receipts = receiptSchema();
    QList<FieldChange> changes;
    for (int field = 0; field < receipts.columns.size(); ++field) {
        const storage::Column& column = receipts.columns[field];
        if (!sameValue(column.kind, before.value(field), after.value(field))) {
            changes.append({column.name, before.value(field), after.value(field)});
        }
    }
    return changes;
}

}  // namespace

bool receiptCorrections(Database& database, const QVariantList& current,
                        QList<Correction>* corrections, QString* error) {
    const storage::RecordSearch search =
        versionsOf(current.value(receiptSchema().indexOf(kInpatientNumberField)).toString());
    QList<storage::FoundRecord> versions;
    std::optional<storage::SearchPosition> after;
    for (qsizetype read = kPageRecords; read == kPageRecords;) {
        const qsizetype before = versions.size();
        QString reason;
        if (!database.engine().search(search, after, kPageRecords, &versions, &reason)) {
            *error = database.unusableMessage(reason);
            return false;
        }
        read = versions.size() - before;
        if (read > 0) {
            after = versions.constLast().position;
        }
    }
    std::reverse(versions.begin(), versions.end());
    const int changedAt = receiptHistorySchema().indexOf(kChangedAtField);
    for (qsizetype i = 0; i < versions.size(); ++i) {
        const QVariantList& next = i + 1 < versions.size() ? versions[i + 1].values : current;
        corrections->append({versions[i].values.value(changedAt).toDateTime(),
                             changesBetween(versions[i].values, next)});
    }
    return true;
}

}  // namespace store
