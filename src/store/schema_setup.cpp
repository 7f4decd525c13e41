#include "store/schema_setup.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include "store/database.h"
#include "store/schema.h"
#include "store/storage_failure.h"
#include "store/transaction.h"

namespace store {

namespace {

constexpr int kSchemaVersion = 1;
const QString kVersionTable = QStringLiteral("schema_version");
const QString kFirstCashier = QStringLiteral("491MX");
const QString kFirstCashierPassword = QStringLiteral("491mx");

QString sqlType(FieldKind kind) {
    switch (kind) {
        case FieldKind::Text:
        case FieldKind::DateTime:
            return QStringLiteral("TEXT");
        case FieldKind::Amount:
            break;
    }
    return QStringLiteral("REAL");
}

QString createTableSql(const TableSchema& schema) {
    QStringList columns;
    for (const Column& column : schema.columns) {
        columns.append(quotedIdentifier(column.name) + QLatin1Char(' ') + sqlType(column.kind));
    }
    return QStringLiteral("CREATE TABLE %1 (%2)")
        .arg(quotedIdentifier(schema.name), columns.join(QStringLiteral(", ")));
}

// Runs one statement; on failure leaves SQLite's reason in *reason.
bool run(QSqlQuery& query, QString* reason) {
    if (query.exec()) {
        return true;
    }
    *reason = sqlFailureReason(query.lastError());
    return false;
}

bool run(QSqlDatabase& connection, const QString& sql, QString* reason) {
    QSqlQuery query(connection);
    query.prepare(sql);
    return run(query, reason);
}

// Whether the file has a schema object of this type and name (SQLite ignores ASCII case).
bool hasObject(QSqlDatabase& connection, const QString& type, const QString& name, bool* exists,
               QString* reason) {
    QSqlQuery query(connection);
    query.prepare(QStringLiteral(
        "SELECT count(*) FROM sqlite_master WHERE type = ? AND name = ? COLLATE NOCASE"));
    query.addBindValue(type);
    query.addBindValue(name);
    if (!run(query, reason) || !query.next()) {
        return false;
    }
    *exists = query.value(0).toInt() > 0;
    return true;
}

bool columnNames(QSqlDatabase& connection, const QString& table, QStringList* names,
                 QString* reason) {
    QSqlQuery query(connection);
    query.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?)"));
    query.addBindValue(table);
    if (!run(query, reason)) {
        return false;
    }
    while (query.next()) {
        names->append(query.value(0).toString());
    }
    return true;
}

// The first column of the schema that the existing table lacks; empty when it has them all.
bool findMissingColumn(QSqlDatabase& connection, const TableSchema& schema, QString* missing,
                       QString* reason) {
    QStringList existing;
    if (!columnNames(connection, schema.name, &existing, reason)) {
        return false;
    }
    for (const Column& column : schema.columns) {
        if (!existing.contains(column.name, Qt::CaseInsensitive)) {
            *missing = column.name;
            break;
        }
    }
    return true;
}

struct Additions {
    QList<const TableSchema*> tables;
    bool index = false;
    bool versionTable = false;

    bool any() const { return !tables.isEmpty() || index || versionTable; }
    // The history table and the index are conveniences; without the two tables there is no
    // program.
    bool essential() const {
        for (const TableSchema* table : tables) {
            if (table == &receiptSchema() || table == &cashierSchema()) {
                return true;
            }
        }
        return false;
    }
};

bool inspect(QSqlDatabase& connection, Additions* additions, QString* reason) {
    for (const TableSchema* schema : allTableSchemas()) {
        bool exists = false;
        if (!hasObject(connection, QStringLiteral("table"), schema->name, &exists, reason)) {
            return false;
        }
        if (!exists) {
            additions->tables.append(schema);
            continue;
        }
        QString missingColumn;
        if (!findMissingColumn(connection, *schema, &missingColumn, reason)) {
            return false;
        }
        if (!missingColumn.isEmpty()) {
            *reason = QStringLiteral("表 %1 缺少字段“%2”").arg(schema->name, missingColumn);
            return false;
        }
    }
    bool exists = false;
    if (!hasObject(connection, QStringLiteral("index"), inpatientNumberIndexName(), &exists,
                   reason)) {
        return false;
    }
    additions->index = !exists;
    if (!hasObject(connection, QStringLiteral("table"), kVersionTable, &exists, reason)) {
        return false;
    }
    additions->versionTable = !exists;
    return true;
}

bool checkVersion(QSqlDatabase& connection, QString* reason) {
    QSqlQuery query(connection);
    query.prepare(
        QStringLiteral("SELECT max(version) FROM %1").arg(quotedIdentifier(kVersionTable)));
    if (!run(query, reason)) {
        return false;
    }
    if (query.next() && query.value(0).toInt() > kSchemaVersion) {
        *reason = QStringLiteral("该文件由较新版本的程序建立");
        return false;
    }
    return true;
}

bool addCashier(QSqlDatabase& connection, QString* reason) {
    QSqlQuery query(connection);
    query.prepare(QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, ?)")
                      .arg(quotedIdentifier(kCashierTable),
                           quotedIdentifier(kCashierField.toString()),
                           quotedIdentifier(kPasswordField.toString())));
    query.addBindValue(kFirstCashier);
    query.addBindValue(kFirstCashierPassword);
    return run(query, reason);
}

bool addVersionTable(QSqlDatabase& connection, QString* reason) {
    const QString table = quotedIdentifier(kVersionTable);
    if (!run(connection, QStringLiteral("CREATE TABLE %1 (version INTEGER NOT NULL)").arg(table),
             reason)) {
        return false;
    }
    QSqlQuery query(connection);
    query.prepare(QStringLiteral("INSERT INTO %1 (version) VALUES (?)").arg(table));
    query.addBindValue(kSchemaVersion);
    return run(query, reason);
}

bool addIndex(QSqlDatabase& connection, QString* reason) {
    return run(
        connection,
        QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
            .arg(quotedIdentifier(inpatientNumberIndexName()), quotedIdentifier(kReceiptTable),
                 quotedIdentifier(kInpatientNumberField.toString())),
        reason);
}

bool addAll(QSqlDatabase& connection, const Additions& additions, QString* reason) {
    for (const TableSchema* schema : additions.tables) {
        if (!run(connection, createTableSql(*schema), reason)) {
            return false;
        }
        if (schema == &cashierSchema() && !addCashier(connection, reason)) {
            return false;
        }
    }
    if (additions.index && !addIndex(connection, reason)) {
        return false;
    }
    return !additions.versionTable || addVersionTable(connection, reason);
}

}  // namespace

QString quotedIdentifier(const QString& name) {
    QString escaped = name;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

bool prepareSchema(QSqlDatabase& connection, QString* reason) {
    Additions additions;
    if (!inspect(connection, &additions, reason)) {
        return false;
    }
    if (!additions.versionTable && !checkVersion(connection, reason)) {
        return false;
    }
    if (!additions.any()) {
        return true;
    }
    QString additionReason;
    if (runInTransaction(connection, &additionReason,
                         [&] { return addAll(connection, additions, &additionReason); })) {
        return true;
    }
    if (additions.essential()) {
        *reason = QStringLiteral("无法建立数据表（%1）").arg(additionReason);
        return false;
    }
    return true;
}

}  // namespace store
