#include <QStringList>

#include "storage/group_statement.h"

#include "storage/search_statements.h"
#include "storage/sql_names.h"
#include "storage/sqlite/column_value.h"
#include "storage/sqlite/engine.h"
#include "storage/sqlite/money_sum.h"
#include "storage/sqlite/search.h"
#include "storage/sqlite/statement.h"

// The searches of the embedded engine.
namespace storage {

namespace {

class SqliteSearchDialect final : public SearchDialect {
public:
    QString identity(const QString& alias) const override {
        return alias + QStringLiteral(".rowid");
    }
    QString parameter(int number) const override {
        return QLatin1Char('?') + QString::number(number);
    }
    // GLOB tells letters' case apart (LIKE would not), and SQLite reads the pattern's fixed
    // beginning as a range of the column's index.
    QString startsWith(const QString& column, const QString& parameter) const override {
        return column + QStringLiteral(" GLOB ") + parameter;
    }
    // In a GLOB pattern a character in brackets stands for itself.
    QString prefixPattern(const QString& text) const override {
        QString pattern;
        for (const QChar character : text) {
            if (character == u'*' || character == u'?' || character == u'[') {
                pattern += QLatin1Char('[') + character + QLatin1Char(']');
            } else {
                pattern += character;
            }
        }
        return pattern + QLatin1Char('*');
    }
    QString contains(const QString& column, const QString& parameter) const override {
        return QStringLiteral("instr(%1, %2) > 0").arg(column, parameter);
    }
    QString exactSum(const QString& column) const override {
        return QStringLiteral("%1(%2)").arg(QLatin1StringView(kMoneySumFunction), column);
    }
    QString unindexed(const QString& column) const override { return u'+' + column; }
};

// A prefix that finds fewer records than this leads a search through its own index.
constexpr qint64 kFewRecords = 2000;

void bindParameters(SqliteStatement& statement, const QVariantList& parameters) {
    for (int i = 0; i < parameters.size(); ++i) {
        if (parameters[i].typeId() == QMetaType::LongLong) {
            statement.bindInt64(i + 1, parameters[i].toLongLong());
        } else {
            statement.bindText(i + 1, parameters[i].toString());
        }
    }
}

bool succeeded(const SqliteStatement& statement, QString* reason) {
    if (statement.isPrepared() && statement.errorCode() == 0) {
        return true;
    }
    *reason = statement.failureReason();
    return false;
}

}  // namespace

const SearchDialect& sqliteSearchDialect() {
    static const SqliteSearchDialect dialect;
    return dialect;
}

const SearchDialect& SqliteEngine::searchDialect() const {
    return sqliteSearchDialect();
}

// Given a range of days, SQLite reads the records through the date's index, in the order the
// list wants, and looks at each one in the range; a beginning of the inpatient number that finds
// few records finds them sooner through its own index, and the few are then put in order. How
// few, only the index can tell: it is asked, looking at a bounded number of its entries.
bool SqliteEngine::textConditionLeads(const RecordSearch& search) {
    if (!search.hasDateBounds()) {
        return false;
    }
    const SearchDialect& dialect = searchDialect();
    for (const TextCondition& condition : search.texts) {
        if (condition.match != TextMatch::StartsWith || condition.text.isEmpty()) {
            continue;
        }
        qint64 found = 0;
        for (const TableSchema* table : search.tables) {
            SqliteStatement probe(
                m_connection,
                QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM %1 WHERE %2 LIMIT ?2)")
                    .arg(quotedIdentifier(table->name),
                         dialect.startsWith(quotedIdentifier(table->columns[condition.field].name),
                                            dialect.parameter(1))));
            probe.bindText(1, dialect.prefixPattern(condition.text));
            probe.bindInt64(2, kFewRecords);
            found += probe.step() ? probe.columnInt64(0) : kFewRecords;
        }
        return found < kFewRecords;
    }
    return false;
}

bool SqliteEngine::runSearchPage(const SqlStatement& page, const RecordSearch& search,
                                 QList<FoundRecord>* found, QString* reason) {
    SqliteStatement query(m_connection, page.sql);
    bindParameters(query, page.parameters);
    const TableSchema& table = *search.tables.first();
    const int markColumn = SearchStatements::markColumn(search);
    common::StoredDateTimeReader dateTimes;
    while (query.step()) {
        FoundRecord record;
        const int date = SearchStatements::kDateColumn;
        record.position = {
            query.columnType(date) == SqliteType::Null ? QString() : query.columnText(date),
            static_cast<int>(query.columnInt64(SearchStatements::kTableColumn)),
            query.columnInt64(SearchStatements::kIdColumn)};
        record.values.reserve(search.fields.size());
        for (int i = 0; i < search.fields.size(); ++i) {
            record.values.append(columnValue(query, SearchStatements::kFirstFieldColumn + i,
                                             table.columns[search.fields[i]].kind, dateTimes));
        }
        record.marked = query.columnInt64(markColumn) != 0;
        found->append(std::move(record));
    }
    return succeeded(query, reason);
}

bool SqliteEngine::runSearchTotals(const SqlStatement& totals, const RecordSearch& search,
                                   SearchTotals* result, QString* reason) {
    SqliteStatement query(m_connection, totals.sql);
    bindParameters(query, totals.parameters);
    // An aggregate without GROUP BY always gives its one row.
    if (!query.step()) {
        *reason = query.failureReason();
        return false;
    }
    result->count = query.columnInt64(0);
    result->sums.clear();
    for (int i = 0; i < search.amountFields.size(); ++i) {
        result->sums.append(common::Money::fromFen(query.columnInt64(i + 1)));
    }
    return true;
}

bool SqliteEngine::runGroupPage(const SqlStatement& page, const RecordGrouping& grouping,
                                QList<RecordGroup>* groups, QString* reason) {
    SqliteStatement query(m_connection, page.sql);
    bindParameters(query, page.parameters);
    const FieldKind latestKind = grouping.table->columns[grouping.latestField].kind;
    common::StoredDateTimeReader dateTimes;
    while (query.step()) {
        groups->append({query.columnText(kGroupKeyColumn),
                        columnValue(query, kGroupLatestColumn, latestKind, dateTimes),
                        query.columnInt64(kGroupCountColumn),
                        common::Money::fromFen(query.columnInt64(kGroupSumColumn))});
    }
    return succeeded(query, reason);
}

}  // namespace storage
