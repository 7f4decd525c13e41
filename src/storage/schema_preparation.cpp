#include "storage/schema_preparation.h"

#include <algorithm>

#include "storage/sql_names.h"

namespace storage {

namespace {

const QString kVersionTable = QStringLiteral("schema_version");

struct Index {
    const TableSchema* table;
    QString name;
    QString column;  // quoted, with what the engine adds to it, or several
};

// A column that an upgrade adds to a table an older program made.
struct AddedColumn {
    const TableSchema* table;
    const Column* column;
};

// What a database lacks of the schema.
struct Additions {
    QList<const TableDefinition*> tables;
    QList<AddedColumn> columns;
    QList<Index> indexes;
    bool versionTable = false;
    // The database was made by an older program: its version is raised once the rest is added.
    bool olderVersion = false;

    bool creates(const TableSchema* schema) const {
        return std::any_of(tables.begin(), tables.end(),
                           [&](const TableDefinition* table) { return table->schema == schema; });
    }
    bool adds(const Column* column) const {
        return std::any_of(columns.begin(), columns.end(),
                           [&](const AddedColumn& added) { return added.column == column; });
    }
    bool any() const {
        return !tables.isEmpty() || !columns.isEmpty() || !indexes.isEmpty() || versionTable ||
               olderVersion;
    }
    // What the program can work without until the next start adds it: an index or the table of
    // versions. A table, a column or a newer version's change it cannot.
    bool onlyConveniences() const { return tables.isEmpty() && columns.isEmpty() && !olderVersion; }
    // Without an essential table there is no program; an index or a history is a convenience.
    bool essential() const {
        return std::any_of(tables.begin(), tables.end(),
                           [](const TableDefinition* table) { return table->essential; });
    }
};

// A column that a later version added is added to the table; any other missing column means
// the table is not the program's.
bool checkColumns(const SchemaCatalog& catalog, const TableSchema& table,
                  const QStringList& existing, Additions* additions, QString* reason) {
    const auto missing = [&](const QString& name) {
        return !existing.contains(name, catalog.nameCase());
    };
    for (const Column& column : table.columns) {
        if (!missing(column.name)) {
            continue;
        }
        if (!column.addedLater) {
            *reason = QStringLiteral("表 %1 缺少字段“%2”").arg(table.name, column.name);
            return false;
        }
        additions->columns.append({&table, &column});
    }
    if (!catalog.identityColumn().isEmpty() && missing(catalog.identityColumn())) {
        *reason = QStringLiteral("表 %1 缺少字段“%2”").arg(table.name, catalog.identityColumn());
        return false;
    }
    return true;
}

bool checkVersion(SchemaCatalog& catalog, int version, bool* older, QString* reason) {
    qint64 highest = 0;
    if (!catalog.queryNumber(
            QStringLiteral("SELECT max(version) FROM %1").arg(quotedIdentifier(kVersionTable)),
            &highest, reason)) {
        return false;
    }
    if (highest > version) {
        *reason = QStringLiteral("该数据库由较新版本的程序建立");
        return false;
    }
    *older = highest < version;
    return true;
}

bool inspect(SchemaCatalog& catalog, const SchemaDefinition& schema, Additions* additions,
             QString* reason) {
    for (const TableDefinition& definition : schema.tables) {
        const TableSchema& table = *definition.schema;
        QStringList columns;
        if (!catalog.columnsOf(table.name, &columns, reason)) {
            return false;
        }
        if (columns.isEmpty()) {
            additions->tables.append(&definition);
        } else if (!checkColumns(catalog, table, columns, additions, reason)) {
            return false;
        }
        QList<Index> indexes;
        for (const int field : definition.indexedFields) {
            indexes.append(
                {&table, indexName(table, field), quotedIdentifier(table.columns[field].name)});
        }
        for (const QList<int>& fields : definition.combinedIndexes) {
            indexes.append({&table, indexName(table, fields), quotedColumnList(table, fields)});
        }
        for (const int field : definition.prefixSearchedFields) {
            const QString column =
                catalog.prefixIndexColumn(quotedIdentifier(table.columns[field].name));
            if (!column.isEmpty()) {
                indexes.append({&table, prefixIndexName(table, field), column});
            }
        }
        for (const int field : definition.listedByFields) {
            const QString columns =
                catalog.orderIndexColumns(quotedIdentifier(table.columns[field].name));
            if (!columns.isEmpty()) {
                indexes.append({&table, orderIndexName(table, field), columns});
            }
        }
        for (const Index& index : indexes) {
            bool exists = false;
            if (!catalog.hasIndex(index.name, &exists, reason)) {
                return false;
            }
            if (!exists) {
                additions->indexes.append(index);
            }
        }
    }
    QStringList versionColumns;
    if (!catalog.columnsOf(kVersionTable, &versionColumns, reason)) {
        return false;
    }
    additions->versionTable = versionColumns.isEmpty();
    return additions->versionTable ||
           checkVersion(catalog, schema.version, &additions->olderVersion, reason);
}

// Gives the columns that hold sums, in the tables an older program made, their present width.
bool widenSumColumns(SchemaCatalog& catalog, const SchemaDefinition& schema,
                     const Additions& additions, QString* reason) {
    for (const TableDefinition& definition : schema.tables) {
        if (additions.tables.contains(&definition)) {
            continue;
        }
        for (const Column& column : definition.schema->columns) {
            const QString statement =
                column.holdsSums && !additions.adds(&column)
                    ? catalog.retypeColumnStatement(definition.schema->name, column)
                    : QString();
            if (!statement.isEmpty() && !catalog.run(statement, reason)) {
                return false;
            }
        }
    }
    return true;
}

bool addAll(SchemaCatalog& catalog, RecordWriter& writer, const Additions& additions,
            const SchemaDefinition& schema, QString* reason) {
    for (const TableDefinition* definition : additions.tables) {
        const TableSchema& table = *definition->schema;
        QStringList columns;
        for (const Column& column : table.columns) {
            columns.append(quotedIdentifier(column.name) + QLatin1Char(' ') +
                           catalog.sqlType(column));
        }
        if (!catalog.identityColumn().isEmpty()) {
            columns.append(catalog.identityColumnDefinition());
        }
        if (!catalog.run(QStringLiteral("CREATE TABLE %1 (%2)")
                             .arg(quotedIdentifier(table.name), columns.join(QStringLiteral(", "))),
                         reason)) {
            return false;
        }
        QList<RecordValues> firstRecords;
        if (definition->firstRecords && !definition->firstRecords(&firstRecords, reason)) {
            return false;
        }
        for (const RecordValues& record : firstRecords) {
            if (!writer.insert(table, record)) {
                return false;
            }
        }
    }
    // Existing rows take the column's earlier value from the column's default: no row is
    // rewritten.
    for (const AddedColumn& added : additions.columns) {
        QString statement =
            QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                .arg(quotedIdentifier(added.table->name), quotedIdentifier(added.column->name),
                     catalog.sqlType(*added.column));
        if (!added.column->addedLater->isEmpty()) {
            statement += QStringLiteral(" DEFAULT ") + quotedText(*added.column->addedLater);
        }
        if (!catalog.run(statement, reason)) {
            return false;
        }
    }
    QStringList indexedTables;
    for (const Index& index : additions.indexes) {
        const QString table = quotedIdentifier(index.table->name);
        if (!catalog.run(QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                             .arg(quotedIdentifier(index.name), table, index.column),
                         reason)) {
            return false;
        }
        if (!additions.creates(index.table) && !indexedTables.contains(table)) {
            indexedTables.append(table);
        }
    }
    // A planner without statistics of an existing table's new index passes it by: a look-up by
    // inpatient number in a million receipts would read them all until the server's own vacuum came
    // by.
    for (const QString& table : indexedTables) {
        const QString statistics = catalog.statisticsStatement(table);
        if (!statistics.isEmpty() && !catalog.run(statistics, reason)) {
            return false;
        }
    }
    if (additions.olderVersion && !widenSumColumns(catalog, schema, additions, reason)) {
        return false;
    }
    const QString versionTable = quotedIdentifier(kVersionTable);
    if (additions.versionTable &&
        !catalog.run(QStringLiteral("CREATE TABLE %1 (version integer NOT NULL)").arg(versionTable),
                     reason)) {
        return false;
    }
    // An older version's row stays: the table tells which versions the database has been.
    return !(additions.versionTable || additions.olderVersion) ||
           catalog.run(QStringLiteral("INSERT INTO %1 (version) VALUES (%2)")
                           .arg(versionTable)
                           .arg(schema.version),
                       reason);
}

const QString& firstEssentialTable(const SchemaDefinition& schema) {
    const auto essential =
        std::find_if(schema.tables.begin(), schema.tables.end(),
                     [](const TableDefinition& table) { return table.essential; });
    return essential != schema.tables.end() ? essential->schema->name
                                            : schema.tables.front().schema->name;
}

}  // namespace

bool prepareSchema(StorageEngine& engine, SchemaCatalog& catalog, const SchemaDefinition& schema,
                   const QString& lockKey, QString* reason) {
    Additions additions;
    if (!inspect(catalog, schema, &additions, reason)) {
        return false;
    }
    if (!additions.any()) {
        return true;
    }
    const TransactionResult added = engine.transact(lockKey, [&](RecordWriter& writer) {
        Additions stillMissing;
        return inspect(catalog, schema, &stillMissing, reason) &&
               addAll(catalog, writer, stillMissing, schema, reason);
    });
    if (added.outcome == TransactionOutcome::Committed) {
        return true;
    }
    // A missing index only slows the program down, and the next start adds it.
    if (additions.onlyConveniences()) {
        return true;
    }
    const QString failure = added.reason.isEmpty() ? *reason : added.reason;
    const QString& table = additions.tables.isEmpty() && !additions.columns.isEmpty()
                               ? additions.columns.first().table->name
                               : firstEssentialTable(schema);
    if (!additions.essential()) {
        bool writable = true;
        if (!catalog.mayWrite(table, &writable, reason)) {
            return false;
        }
        // A database that can only be read is read without them; one that can be written would
        // refuse every save that needs them.
        if (!writable) {
            return true;
        }
    }
    *reason = (additions.tables.isEmpty() ? QStringLiteral("无法升级数据表（%1）")
                                          : QStringLiteral("无法建立数据表（%1）"))
                  .arg(failure);
    const QString grant = catalog.missingGrant(table);
    if (!grant.isEmpty()) {
        *reason += QStringLiteral("：") + grant;
    }
    return false;
}

bool checkSchema(SchemaCatalog& catalog, const SchemaDefinition& schema, QString* reason) {
    Additions additions;
    if (!inspect(catalog, schema, &additions, reason)) {
        return false;
    }
    QStringList missing;
    for (const TableDefinition* table : additions.tables) {
        if (table->essential) {
            missing.append(table->schema->name);
        }
    }
    if (!missing.isEmpty()) {
        *reason = QStringLiteral("其中没有表 %1").arg(missing.join(QStringLiteral("、")));
        return false;
    }
    return true;
}

}  // namespace storage
