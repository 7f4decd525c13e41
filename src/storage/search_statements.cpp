#include "storage/search_statements.h"

#include <QStringList>

#include "storage/sql_names.h"

namespace storage {

namespace {

const QString kAlias = QStringLiteral("t");
const QString kMarkAlias = QStringLiteral("m");
const QString kDayFormat = QStringLiteral("yyyy-MM-dd");

}  // namespace

// Collects the values of a statement's parameters and names each by its number.
class SearchStatements::Parameters {
public:
    explicit Parameters(const SearchDialect& dialect) : m_dialect(dialect) {}

    QString add(const QVariant& value) {
        m_values.append(value);
        return m_dialect.parameter(static_cast<int>(m_values.size()));
    }
    const QVariantList& values() const { return m_values; }

private:
    const SearchDialect& m_dialect;
    QVariantList m_values;
};

SearchStatements::SearchStatements(const SearchDialect& dialect, const RecordSearch& search,
                                   bool textLeads)
    : m_dialect(dialect), m_search(search), m_textLeads(textLeads) {}

int SearchStatements::markColumn(const RecordSearch& search) {
    return kFirstFieldColumn + static_cast<int>(search.fields.size());
}

SqlStatement SearchStatements::datedPage(const std::optional<SearchPosition>& after,
                                         int limit) const {
    return page(Part::Dated, after && !after->date.isNull() ? after : std::nullopt, limit);
}

SqlStatement SearchStatements::undatedPage(const std::optional<SearchPosition>& after,
                                           int limit) const {
    return page(Part::Undated, after && after->date.isNull() ? after : std::nullopt, limit);
}

SqlStatement SearchStatements::page(Part part, const std::optional<SearchPosition>& after,
                                    int limit) const {
    Parameters parameters(m_dialect);
    QStringList queries;
    for (int table = 0; table < m_search.tables.size(); ++table) {
        const QString query = tablePage(table, part, after, parameters);
        if (!query.isEmpty()) {
            queries.append(query + QStringLiteral(" LIMIT ") + parameters.add(qint64{limit}));
        }
    }
    if (queries.isEmpty()) {
        // Every table has been read to its end: a query that finds nothing.
        return {QStringLiteral("SELECT 1 WHERE 1 = 0"), {}};
    }
    if (queries.size() == 1) {
        return {queries.first(), parameters.values()};
    }
    // Each table's page is read by its own index; the pages are then merged in the search's
    // order, by the columns' numbers.
    QStringList arms;
    for (int i = 0; i < queries.size(); ++i) {
        arms.append(QStringLiteral("SELECT * FROM (%1) AS a%2").arg(queries[i]).arg(i));
    }
    const QString order =
        part == Part::Dated ? QStringLiteral("3 DESC, 1, 2 DESC") : QStringLiteral("1, 2 DESC");
    const QString limitParameter = parameters.add(qint64{limit});
    return {QStringLiteral("%1 ORDER BY %2 LIMIT %3")
                .arg(arms.join(QStringLiteral(" UNION ALL ")), order, limitParameter),
            parameters.values()};
}

QString SearchStatements::tablePage(int table, Part part,
                                    const std::optional<SearchPosition>& after,
                                    Parameters& parameters) const {
    const QString date = column(table, m_search.dateField);
    const QString filteredDate = dateCondition(table);
    const QString identity = m_dialect.identity(kAlias);
    // Behind a record of the range its date bounds the page from above; a second upper bound
    // would leave SQLite to choose the range's end and walk down to that record every page.
    const bool keyed = after && part == Part::Dated;
    QStringList where = conditions(table, parameters, !keyed);
    if (part == Part::Dated) {
        where.append(filteredDate + QStringLiteral(" IS NOT NULL"));
    } else {
        where.append(filteredDate + QStringLiteral(" IS NULL"));
    }
    if (after) {
        // Behind the record `after` come the older dates, then on its date the later tables,
        // then in its own table the earlier records.
        if (table < after->table && part == Part::Undated) {
            return {};
        }
        if (part == Part::Dated) {
            const QString day = parameters.add(after->date);
            if (table < after->table) {
                where.append(QStringLiteral("%1 < %2").arg(filteredDate, day));
            } else if (table > after->table) {
                where.append(QStringLiteral("%1 <= %2").arg(filteredDate, day));
            } else {
                where.append(QStringLiteral("%1 <= %3 AND (%1, %2) < (%3, %4)")
                                 .arg(filteredDate, identity, day, parameters.add(after->id)));
            }
        } else if (table == after->table) {
            where.append(identity + QStringLiteral(" < ") + parameters.add(after->id));
        }
    }

    QStringList columns{QString::number(table), identity, date};
    for (const int field : m_search.fields) {
        columns.append(column(table, field));
    }
    if (m_search.markTable != nullptr) {
        const TableSchema& marks = *m_search.markTable;
        columns.append(QStringLiteral("EXISTS (SELECT 1 FROM %1 AS %2 WHERE %2.%3 = %4)")
                           .arg(quotedIdentifier(marks.name), kMarkAlias,
                                quotedIdentifier(marks.columns[m_search.markField].name),
                                column(table, m_search.markField)));
    } else {
        columns.append(QStringLiteral("0"));
    }
    const QString order = part == Part::Dated
                              ? QStringLiteral("%1 DESC, %2 DESC").arg(date, identity)
                              : identity + QStringLiteral(" DESC");
    return QStringLiteral("SELECT %1 FROM %2 AS %3 WHERE %4 ORDER BY %5")
        .arg(columns.join(QStringLiteral(", ")), quotedIdentifier(m_search.tables[table]->name),
             kAlias, where.join(QStringLiteral(" AND ")), order);
}

SqlStatement SearchStatements::totals() const {
    Parameters parameters(m_dialect);
    const auto where = [&](int table) {
        const QStringList found = conditions(table, parameters);
        return found.isEmpty() ? QString()
                               : QStringLiteral(" WHERE ") + found.join(QStringLiteral(" AND "));
    };
    QStringList sums{QStringLiteral("count(*)")};
    if (m_search.tables.size() == 1) {
        for (const int field : m_search.amountFields) {
            sums.append(m_dialect.exactSum(column(0, field)));
        }
        return {QStringLiteral("SELECT %1 FROM %2 AS %3%4")
                    .arg(sums.join(QStringLiteral(", ")),
                         quotedIdentifier(m_search.tables.first()->name), kAlias, where(0)),
                parameters.values()};
    }
    QStringList arms;
    for (int table = 0; table < m_search.tables.size(); ++table) {
        // Every arm gives a column, also where no amount is summed.
        QStringList amounts{QStringLiteral("1 AS one")};
        for (int i = 0; i < m_search.amountFields.size(); ++i) {
            amounts.append(
                QStringLiteral("%1 AS c%2").arg(column(table, m_search.amountFields[i])).arg(i));
        }
        arms.append(QStringLiteral("SELECT %1 FROM %2 AS %3%4")
                        .arg(amounts.join(QStringLiteral(", ")),
                             quotedIdentifier(m_search.tables[table]->name), kAlias, where(table)));
    }
    for (int i = 0; i < m_search.amountFields.size(); ++i) {
        sums.append(m_dialect.exactSum(QStringLiteral("c%1").arg(i)));
    }
    return {QStringLiteral("SELECT %1 FROM (%2) AS found")
                .arg(sums.join(QStringLiteral(", ")), arms.join(QStringLiteral(" UNION ALL "))),
            parameters.values()};
}

QStringList SearchStatements::conditions(int table, Parameters& parameters,
                                         bool withLastDay) const {
    QStringList where;
    for (const TextCondition& condition : m_search.texts) {
        const QString field = column(table, condition.field);
        switch (condition.match) {
            case TextMatch::Equals:
                where.append(condition.text.isEmpty()
                                 ? QStringLiteral("(%1 = '' OR %1 IS NULL)").arg(field)
                                 : field + QStringLiteral(" = ") + parameters.add(condition.text));
                break;
            case TextMatch::StartsWith:
                if (!condition.text.isEmpty()) {
                    where.append(m_dialect.startsWith(
                        field, parameters.add(m_dialect.prefixPattern(condition.text))));
                }
                break;
            case TextMatch::Contains:
                if (!condition.text.isEmpty()) {
                    where.append(m_dialect.contains(field, parameters.add(condition.text)));
                }
                break;
        }
    }
    // Whole days: every stored form of a date on the last day lies before the next day.
    const QString date = dateCondition(table);
    if (!m_search.firstDay.isNull()) {
        where.append(date + QStringLiteral(" >= ") +
                     parameters.add(m_search.firstDay.toString(kDayFormat)));
    }
    if (withLastDay && !m_search.lastDay.isNull()) {
        where.append(date + QStringLiteral(" < ") +
                     parameters.add(m_search.lastDay.addDays(1).toString(kDayFormat)));
    }
    return where;
}

QString SearchStatements::dateCondition(int table) const {
    const QString date = column(table, m_search.dateField);
    return m_textLeads ? m_dialect.unindexed(date) : date;
}

QString SearchStatements::column(int table, int field) const {
    return kAlias + QLatin1Char('.') +
           quotedIdentifier(m_search.tables[table]->columns[field].name);
}

}  // namespace storage
