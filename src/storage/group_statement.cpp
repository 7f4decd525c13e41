#include "storage/group_statement.h"

#include <QStringList>

#include "storage/sql_names.h"

namespace storage {

namespace {

QString column(const RecordGrouping& grouping, const QString& alias, int field) {
    return alias + QLatin1Char('.') + quotedIdentifier(grouping.table->columns[field].name);
}

// The equal texts on the table that alias names, their parameters numbered from 1 in order.
QStringList equalConditions(const SearchDialect& dialect, const RecordGrouping& grouping,
                            const QString& alias) {
    QStringList conditions;
    for (int i = 0; i < grouping.equalTexts.size(); ++i) {
        conditions.append(QStringLiteral("%1 = %2").arg(
            column(grouping, alias, grouping.equalTexts[i].first), dialect.parameter(i + 1)));
    }
    return conditions;
}

}  // namespace

SqlStatement groupPageStatement(const SearchDialect& dialect, const RecordGrouping& grouping,
                                const std::optional<QString>& after, int limit) {
    const QString table = quotedIdentifier(grouping.table->name);
    const QString key = column(grouping, QStringLiteral("t"), grouping.groupField);
    QVariantList parameters;
    for (const auto& equal : grouping.equalTexts) {
        parameters.append(equal.second);
    }

    QStringList latestWhere = equalConditions(dialect, grouping, QStringLiteral("l"));
    latestWhere.append(column(grouping, QStringLiteral("l"), grouping.groupField) +
                       QStringLiteral(" = ") + key);
    const QString latest =
        QStringLiteral("(SELECT %1 FROM %2 AS l WHERE %3 ORDER BY %4 DESC LIMIT 1)")
            .arg(column(grouping, QStringLiteral("l"), grouping.latestField), table,
                 latestWhere.join(QStringLiteral(" AND ")), dialect.identity(QStringLiteral("l")));

    QStringList where = equalConditions(dialect, grouping, QStringLiteral("t"));
    if (after) {
        parameters.append(*after);
        where.append(key + QStringLiteral(" > ") +
                     dialect.parameter(static_cast<int>(parameters.size())));
    }
    parameters.append(qint64{limit});
    const QString limitParameter = dialect.parameter(static_cast<int>(parameters.size()));
    return {
        QStringLiteral("SELECT %1, %2, count(*), %3 FROM %4 AS t%5 GROUP BY %1 ORDER BY %1 "
                       "LIMIT %6")
            .arg(key, latest,
                 dialect.exactSum(column(grouping, QStringLiteral("t"), grouping.amountField)),
                 table,
                 where.isEmpty() ? QString()
                                 : QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND ")),
                 limitParameter),
        parameters};
}

}  // namespace storage
