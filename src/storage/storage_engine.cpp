#include "storage/storage_engine.h"

#include "storage/group_statement.h"
#include "storage/schema_preparation.h"
#include "storage/search_statements.h"

namespace storage {

namespace {

// Desks that start together on an empty database take turns at creating it.
const QString kSchemaLockKey = QStringLiteral("491MX schema");

}  // namespace

bool StorageEngine::prepare(const SchemaDefinition& schema, QString* reason) {
    return connect(reason) && prepareSchema(*this, *catalog(), schema, kSchemaLockKey, reason);
}

std::unique_ptr<RecordWalk> StorageEngine::walk(const TableSchema& table,
                                                const QList<int>& openedFields, RecordId from,
                                                QString* reason) {
    if (!connect(reason)) {
        return nullptr;
    }
    std::unique_ptr<RecordWalk> walk = startWalk(table, openedFields, from);
    if (!walk->error().isEmpty()) {
        *reason = walk->error();
        return nullptr;
    }
    return walk;
}

std::optional<RecordId> StorageEngine::firstWithText(const TableSchema& table, int field,
                                                     const QString& text, QString* reason) {
    if (!connect(reason)) {
        return std::nullopt;
    }
    return lookUpFirstWithText(table, field, text, reason);
}

bool StorageEngine::sumPeriod(const PeriodQuery& query, PeriodTotals* totals, QString* reason) {
    return connect(reason) && sumConnectedPeriod(query, totals, reason);
}

bool takeEveryRecord(RecordWalk& walk, qsizetype openedFields, const TakeRecord& take,
                     QString* reason) {
    RecordValues values(openedFields);
    while (walk.next()) {
        for (int opened = 0; opened < openedFields; ++opened) {
            values[opened] = walk.value(opened);
        }
        take(walk.recordId(), values);
    }
    if (!walk.error().isEmpty()) {
        *reason = walk.error();
        return false;
    }
    return true;
}

bool StorageEngine::select(const RecordSelection& selection, const TakeRecord& take,
                           QString* reason) {
    if (!connect(reason)) {
        return false;
    }
    return takeEveryRecord(*startSelection(selection), selection.openedFields.size(), take, reason);
}

bool StorageEngine::search(const RecordSearch& search, const std::optional<SearchPosition>& after,
                           int limit, QList<FoundRecord>* found, QString* reason) {
    if (!connect(reason)) {
        return false;
    }
    const SearchStatements statements(searchDialect(), search, textConditionLeads(search));
    const qsizetype before = found->size();
    const bool afterUndated = after && after->date.isNull();
    if (!afterUndated &&
        !runSearchPage(statements.datedPage(after, limit), search, found, reason)) {
        return false;
    }
    const auto foundHere = static_cast<int>(found->size() - before);
    // Records without a date lie outside every range of days.
    if (foundHere == limit || search.hasDateBounds()) {
        return true;
    }
    return runSearchPage(statements.undatedPage(after, limit - foundHere), search, found, reason);
}

bool StorageEngine::searchTotals(const RecordSearch& search, SearchTotals* totals,
                                 QString* reason) {
    if (!connect(reason)) {
        return false;
    }
    const SearchStatements statements(searchDialect(), search, textConditionLeads(search));
    return runSearchTotals(statements.totals(), search, totals, reason);
}

bool StorageEngine::groups(const RecordGrouping& grouping, const std::optional<QString>& after,
                           int limit, QList<RecordGroup>* groups, QString* reason) {
    return connect(reason) &&
           runGroupPage(groupPageStatement(searchDialect(), grouping, after, limit), grouping,
                        groups, reason);
}

TransactionResult StorageEngine::transact(const QString& lockKey,
                                          const std::function<bool(RecordWriter&)>& work) {
    QString reason;
    if (!connect(&reason)) {
        return {TransactionOutcome::Failed, reason};
    }
    const std::unique_ptr<EngineTransaction> transaction = begin(lockKey, &reason);
    if (!transaction) {
        return {TransactionOutcome::Failed, reason};
    }
    const bool proceed = work(*transaction);
    TransactionResult result{TransactionOutcome::Abandoned, {}};
    if (!transaction->failure().isEmpty()) {
        result = {TransactionOutcome::Failed, transaction->failure()};
    } else if (proceed) {
        result = transaction->commit();
    }
    return transaction->end(result);
}

}  // namespace storage
