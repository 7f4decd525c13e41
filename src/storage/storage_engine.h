#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>
#include <optional>

#include "common/money.h"
#include "storage/record_groups.h"
#include "storage/record_search.h"
#include "storage/table_schema.h"

namespace storage {

class SchemaCatalog;
class SearchDialect;
struct SqlStatement;

// A record's values, in the order of the schema's columns or of the fields a walk opened:
// QString for texts, QDateTime for date-times, common::Money for amounts.
using RecordValues = QVariantList;

// A record's place in the stored order; larger is later.
using RecordId = qint64;

// Reads the records of one table in stored order, from a given record on.
class RecordWalk {
public:
    virtual ~RecordWalk() = default;
    // Moves to the next record: false past the last one, and on a failure (see error()).
    virtual bool next() = 0;
    virtual RecordId recordId() const = 0;
    // The value of one of the opened fields (by its position among them) of the current record.
    virtual QVariant value(int openedField) const = 0;
    // Empty unless reading failed.
    virtual QString error() const = 0;
};

// The records of one table whose fields equal the given values (texts exactly; a field that holds
// no value equals none), when oneOfField is given whose field equals one of oneOfValues (none when
// they are none), and, when dateField is given, whose date-time lies within [first, last], both
// ends included; in stored order, with the opened fields.
struct RecordSelection {
    const TableSchema* table = nullptr;
    QList<int> openedFields;
    QList<std::pair<int, QVariant>> equalFields;
    int dateField = -1;
    QDateTime first;
    QDateTime last;
    int oneOfField = -1;
    QVariantList oneOfValues = {};
};

// Takes one selected record: its identity and its opened fields.
using TakeRecord = std::function<void(RecordId id, const RecordValues& values)>;

// Hands every record of a walk to take; false, with the walk's reason, when reading failed.
bool takeEveryRecord(RecordWalk& walk, qsizetype openedFields, const TakeRecord& take,
                     QString* reason);

// A record to insert, and its date-time field (-1: none) that takes the database's clock at that
// moment (the server's on a server) instead of a value.
struct NewRecord {
    const TableSchema* table = nullptr;
    RecordValues values;
    int clockField = -1;
};

// What one transaction may do. A failed step leaves its reason with the transaction, which is
// then rolled back whatever the work answers.
class RecordWriter {
public:
    virtual ~RecordWriter() = default;
    // The first record in stored order whose text field equals text exactly (an absent text
    // equals the empty text); none when no record has it.
    virtual std::optional<RecordId> firstWithText(const TableSchema& table, int field,
                                                  const QString& text) = 0;
    // Every field of a record; none when it does not exist. On a server the record stays locked
    // until the transaction ends.
    virtual std::optional<RecordValues> read(const TableSchema& table, RecordId id) = 0;
    virtual std::optional<RecordId> insert(const TableSchema& table,
                                           const RecordValues& values) = 0;
    // False when the record no longer exists.
    virtual bool update(const TableSchema& table, RecordId id, const RecordValues& values) = 0;
    virtual bool remove(const TableSchema& table, RecordId id) = 0;

    // Inserts records that go together (a receipt and its journal row) in one step: one
    // statement on a server. The first one's identity.
    virtual std::optional<RecordId> insertRecords(const QList<NewRecord>& records) = 0;
    // Sets the integer field to value in those of the records that still hold expected there;
    // how many it set. Records that are gone or hold something else are left as they are.
    virtual std::optional<qint64> markRecords(const TableSchema& table, const QList<RecordId>& ids,
                                              int field, qint64 expected, qint64 value) = 0;
    // The largest value of an integer field in the table; 0 for an empty table.
    virtual std::optional<qint64> highest(const TableSchema& table, int field) = 0;
    // As StorageEngine::select, inside the transaction.
    virtual bool select(const RecordSelection& selection, const TakeRecord& take) = 0;
    // Waits for other desks' writes to the table under way, and makes later ones wait until this
    // transaction ends, so that what it reads of the table stays true until it commits.
    virtual bool holdTable(const TableSchema& table) = 0;
    // Takes a further lock named key, held until the transaction ends, as the transaction's own
    // lock is. Taken only after that one, and never the other way round, so two never wait on
    // each other.
    virtual bool holdKey(const QString& key) = 0;
};

enum class TransactionOutcome {
    Committed,
    Abandoned,  // the work answered no: rolled back, nothing changed
    Failed,     // a step, the lock or the commit failed: rolled back, nothing changed
    Unknown,    // the connection was lost while committing: it may or may not have happened
};

struct TransactionResult {
    TransactionOutcome outcome = TransactionOutcome::Failed;
    QString reason;  // why it failed, in the cashier's words
};

// One table the program needs, and what a new one starts with.
struct TableDefinition {
    const TableSchema* schema = nullptr;
    QList<int> indexedFields;
    // Makes the records a new table starts with, only when the table is created (a password hash
    // takes a while); none when empty. False, with the reason, when they cannot be made.
    std::function<bool(QList<RecordValues>* records, QString* reason)> firstRecords;
    bool essential = true;  // a read-only database may lack a table that is not
    // Text fields that searches look up by their beginning, and date fields that they list by
    // (then by stored order), where an engine needs an index of its own for that.
    QList<int> prefixSearchedFields = {};
    QList<int> listedByFields = {};
    // Indexes of several fields each, in the order the index keeps them: for a query that looks
    // up the first ones and reads the next one in order.
    QList<QList<int>> combinedIndexes = {};
};

struct SchemaDefinition {
    QList<TableDefinition> tables;
    int version = 1;
};

// The records whose date field lies within [first, last], both ends included, counted and with
// some of their amount fields summed exactly.
struct PeriodQuery {
    const TableSchema* table = nullptr;
    int dateField = -1;
    QDateTime first;
    QDateTime last;
    QList<int> amountFields;
};

struct PeriodTotals {
    qint64 count = 0;
    QList<common::Money> sums;  // in the order of the query's amount fields
};

// One transaction as an engine runs it: begun, with its lock taken, until end().
class EngineTransaction : public RecordWriter {
public:
    // The first step that failed; empty when none did. Steps after a failure are refused.
    virtual QString failure() const = 0;
    // Committed, or Failed/Unknown with the reason.
    virtual TransactionResult commit() = 0;
    // Rolls back whatever was not committed. The engine may know better why the transaction
    // failed than its steps did, and then says so in the result it gives back.
    virtual TransactionResult end(TransactionResult result) = 0;
};

// One database, on whichever engine keeps it. Reads outside a transaction see only what other
// desks have committed. No transaction or lock outlives the call that made it. Every call
// connects first when it has to; a connection found lost is made again.
class StorageEngine {
public:
    virtual ~StorageEngine() = default;

    // Where the data is, for messages: 数据库文件“…” or 数据库服务器“…”.
    virtual QString description() const = 0;

    // Connects, creates what is missing of the schema (all of it in one transaction, safe when
    // several desks start together) and checks what exists. False with the reason.
    bool prepare(const SchemaDefinition& schema, QString* reason);
    // Lets go of the connection; the next call connects again.
    virtual void disconnect() = 0;

    std::unique_ptr<RecordWalk> walk(const TableSchema& table, const QList<int>& openedFields,
                                     RecordId from, QString* reason);
    // Outside a transaction: as RecordWriter::firstWithText, with the failure in *reason.
    std::optional<RecordId> firstWithText(const TableSchema& table, int field, const QString& text,
                                          QString* reason);
    bool sumPeriod(const PeriodQuery& query, PeriodTotals* totals, QString* reason);
    // Hands each selected record to take, in stored order; a selection is meant to be small
    // (a shift, a day), and on a server it is read at once.
    bool select(const RecordSelection& selection, const TakeRecord& take, QString* reason);
    // Up to limit records that the search finds after `after` (from its first when none), in its
    // order, appended to *found; fewer only at its end. Every page is one bounded query, ended
    // before the call returns.
    bool search(const RecordSearch& search, const std::optional<SearchPosition>& after, int limit,
                QList<FoundRecord>* found, QString* reason);
    // How many records the search finds and the exact sums of its amount fields, in one query.
    bool searchTotals(const RecordSearch& search, SearchTotals* totals, QString* reason);
    // Up to limit groups of the grouping after the group `after` (from the first when none), in
    // its order, appended to *groups; fewer only at its end. One bounded query.
    bool groups(const RecordGrouping& grouping, const std::optional<QString>& after, int limit,
                QList<RecordGroup>* groups, QString* reason);

    // Runs work in one transaction that first takes the lock named lockKey, which serialises it
    // with every other transaction taking the same lock on any desk. A lock held elsewhere is
    // waited for a few seconds at most. Committed when work answers yes.
    TransactionResult transact(const QString& lockKey,
                               const std::function<bool(RecordWriter&)>& work);

protected:
    // What each engine gives. Every hook but connect() runs on a connection that connect() has
    // just found good.
    virtual bool connect(QString* reason) = 0;
    virtual std::unique_ptr<SchemaCatalog> catalog() = 0;
    // A walk before its first record, or one whose error() says why it could not start.
    virtual std::unique_ptr<RecordWalk> startWalk(const TableSchema& table,
                                                  const QList<int>& openedFields,
                                                  RecordId from) = 0;
    virtual std::optional<RecordId> lookUpFirstWithText(const TableSchema& table, int field,
                                                        const QString& text, QString* reason) = 0;
    virtual bool sumConnectedPeriod(const PeriodQuery& query, PeriodTotals* totals,
                                    QString* reason) = 0;
    // A walk over the selected records before the first of them, or one whose error() says why
    // it could not start.
    virtual std::unique_ptr<RecordWalk> startSelection(const RecordSelection& selection) = 0;
    // A search's statements (search_statements.h) in the engine's SQL, and running them: the
    // rows of a page appended to *found, the one row of the totals.
    virtual const SearchDialect& searchDialect() const = 0;
    // Whether the search's text condition should find its records rather than the date's
    // index, where the engine's planner cannot tell which finds fewer.
    virtual bool textConditionLeads(const RecordSearch& search) = 0;
    virtual bool runSearchPage(const SqlStatement& page, const RecordSearch& search,
                               QList<FoundRecord>* found, QString* reason) = 0;
    virtual bool runSearchTotals(const SqlStatement& totals, const RecordSearch& search,
                                 SearchTotals* result, QString* reason) = 0;
    // A page of groups (group_statement.h): its rows appended to *groups.
    virtual bool runGroupPage(const SqlStatement& page, const RecordGrouping& grouping,
                              QList<RecordGroup>* groups, QString* reason) = 0;
    // A transaction that holds lockKey; none, with the reason and nothing left open, when it
    // cannot be begun.
    virtual std::unique_ptr<EngineTransaction> begin(const QString& lockKey, QString* reason) = 0;
};

}  // namespace storage
