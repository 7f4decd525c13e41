#include "storage/sql_names.h"

namespace storage {

QString quotedIdentifier(const QString& name) {
    QString escaped = name;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString quotedText(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

QString quotedColumnList(const TableSchema& table) {
    QStringList names;
    for (const Column& column : table.columns) {
        names.append(quotedIdentifier(column.name));
    }
    return names.join(QStringLiteral(", "));
}

QString quotedColumnList(const TableSchema& table, const QList<int>& fields) {
    QStringList names;
    for (const int field : fields) {
        names.append(quotedIdentifier(table.columns[field].name));
    }
    return names.join(QStringLiteral(", "));
}

QString indexName(const TableSchema& table, int field) {
    return table.name + QLatin1Char('_') + table.columns[field].name;
}

QString indexName(const TableSchema& table, const QList<int>& fields) {
    QString name = table.name;
    for (const int field : fields) {
        name += QLatin1Char('_') + table.columns[field].name;
    }
    return name;
}

QString prefixIndexName(const TableSchema& table, int field) {
    return indexName(table, field) + QStringLiteral("_prefix");
}

QString orderIndexName(const TableSchema& table, int field) {
    return indexName(table, field) + QStringLiteral("_order");
}

}  // namespace storage
