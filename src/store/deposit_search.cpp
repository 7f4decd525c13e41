#include "store/deposit_search.h"

#include "store/database.h"
#include "store/schema.h"
#include "store/shift_tables.h"

namespace store {

namespace {

storage::RecordSearch searchOf(const DepositFilter& filter) {
    const storage::TableSchema& table = depositSchema();
    storage::RecordSearch search;
    search.tables = {&table};
    search.texts = {{table.indexOf(kInpatientNumberField), storage::TextMatch::StartsWith,
                     filter.numberPrefix}};
    if (filter.openOnly) {
        search.texts.append({table.indexOf(kDepositStateField), storage::TextMatch::Equals,
                             depositStateText(DepositState::Open)});
    }
    search.dateField = table.indexOf(kEventTimeField);
    search.firstDay = filter.firstDay;
    search.lastDay = filter.lastDay;
    for (int field = 0; field < table.columns.size(); ++field) {
        search.fields.append(field);
    }
    return search;
}

}  // namespace

bool readDepositPage(Database& database, const DepositFilter& filter,
                     std::optional<storage::SearchPosition>* after, int limit, QList<Deposit>* page,
                     QString* error) {
    QList<storage::FoundRecord> found;
    QString reason;
    if (!database.engine().search(searchOf(filter), *after, limit, &found, &reason)) {
        *error = database.unusableMessage(reason);
        return false;
    }
    for (const storage::FoundRecord& record : found) {
        page->append(depositOf(record.position.id, record.values));
    }
    if (!found.isEmpty()) {
        *after = found.constLast().position;
    }
    return true;
}

}  // namespace store
