#include "storage/postgres/search.h"
#include <charconv>

#include "storage/group_statement.h"
#include "storage/postgres/connection.h"
#include "storage/postgres/engine.h"
#include "storage/postgres/field_value.h"
#include "storage/search_statements.h"
#include "storage/sql_names.h"

// The searches of the shared engine.
namespace storage {

namespace {

class PostgresSearchDialect final : public SearchDialect {
public:
    QString identity(const QString& alias) const override {
        return alias + QLatin1Char('.') + quotedIdentifier(PostgresEngine::kIdentityColumn);
    }
    QString parameter(int number) const override {
        return QLatin1Char('$') + QString::number(number);
    }
    // The server reads the pattern's fixed beginning as a range of the column's text_pattern_ops
    // index; LIKE tells letters' case apart.
    QString startsWith(const QString& column, const QString& parameter) const override {
        return column + QStringLiteral(" LIKE ") + parameter;
    }
    // Backslash, LIKE's own escape character, makes the next character stand for itself.
    QString prefixPattern(const QString& text) const override {
        QString pattern;
        for (const QChar character : text) {
            if (character == u'\\' || character == u'%' || character == u'_') {
                pattern += QLatin1Char('\\');
            }
            pattern += character;
        }
        return pattern + QLatin1Char('%');
    }
    QString contains(const QString& column, const QString& parameter) const override {
        return QStringLiteral("strpos(%1, %2) > 0").arg(column, parameter);
    }
    // numeric adds exactly.
    QString exactSum(const QString& column) const override {
        return QStringLiteral("sum(%1)").arg(column);
    }
    // The server needs no hint: its planner weighs the indexes itself (textConditionLeads).
    QString unindexed(const QString& column) const override { return column; }
};

// A whole number as the server writes it, read without making a text of it first: a long export
// reads hundreds of thousands of them.
qint64 wholeNumber(QByteArrayView digits) {
    qint64 number = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return number;
}

PostgresParameters parametersOf(const QVariantList& values) {
    PostgresParameters parameters;
    for (const QVariant& value : values) {
        parameters.append(value.typeId() == QMetaType::LongLong
                              ? QString::number(value.toLongLong())
                              : value.toString());
    }
    return parameters;
}

}  // namespace

const SearchDialect& postgresSearchDialect() {
    static const PostgresSearchDialect dialect;
    return dialect;
}

const SearchDialect& PostgresEngine::searchDialect() const {
    return postgresSearchDialect();
}

// The server's planner weighs the indexes by the statistics it keeps of every column.
bool PostgresEngine::textConditionLeads(const RecordSearch&) {
    return false;
}

bool PostgresEngine::runSearchPage(const SqlStatement& page, const RecordSearch& search,
                                   QList<FoundRecord>* found, QString* reason) {
    const PostgresResult rows = m_connection.run(page.sql, parametersOf(page.parameters));
    if (!rows.succeeded()) {
        *reason = m_connection.failureReason();
        return false;
    }
    const TableSchema& table = *search.tables.first();
    const int markColumn = SearchStatements::markColumn(search);
    common::StoredDateTimeReader dateTimes;
    found->reserve(found->size() + rows.rowCount());
    for (int row = 0; row < rows.rowCount(); ++row) {
        FoundRecord record;
        record.position = {
            rows.text(row, SearchStatements::kDateColumn),
            static_cast<int>(wholeNumber(rows.utf8(row, SearchStatements::kTableColumn))),
            wholeNumber(rows.utf8(row, SearchStatements::kIdColumn))};
        record.values.reserve(search.fields.size());
        for (int i = 0; i < search.fields.size(); ++i) {
            record.values.append(valueOf(rows, row, SearchStatements::kFirstFieldColumn + i,
                                         table.columns[search.fields[i]].kind, dateTimes));
        }
        record.marked = rows.utf8(row, markColumn) == "t";
        found->append(std::move(record));
    }
    return true;
}

bool PostgresEngine::runSearchTotals(const SqlStatement& totals, const RecordSearch& search,
                                     SearchTotals* result, QString* reason) {
    const PostgresResult row = m_connection.run(totals.sql, parametersOf(totals.parameters));
    if (!row.succeeded() || row.rowCount() != 1) {
        *reason = m_connection.failureReason();
        return false;
    }
    result->count = row.text(0, 0).toLongLong();
    result->sums.clear();
    // The sum of no rows is NULL.
    for (int i = 0; i < search.amountFields.size(); ++i) {
        result->sums.append(row.isNull(0, i + 1) ? common::Money() : amountOf(row.utf8(0, i + 1)));
    }
    return true;
}

bool PostgresEngine::runGroupPage(const SqlStatement& page, const RecordGrouping& grouping,
                                  QList<RecordGroup>* groups, QString* reason) {
    const PostgresResult rows = m_connection.run(page.sql, parametersOf(page.parameters));
    if (!rows.succeeded()) {
        *reason = m_connection.failureReason();
        return false;
    }
    const FieldKind latestKind = grouping.table->columns[grouping.latestField].kind;
    common::StoredDateTimeReader dateTimes;
    for (int row = 0; row < rows.rowCount(); ++row) {
        groups->append({rows.text(row, kGroupKeyColumn),
                        valueOf(rows, row, kGroupLatestColumn, latestKind, dateTimes),
                        wholeNumber(rows.utf8(row, kGroupCountColumn)),
                        amountOf(rows.utf8(row, kGroupSumColumn))});
    }
    return true;
}

}  // namespace storage
