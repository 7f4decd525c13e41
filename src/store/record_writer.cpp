#include "store/record_writer.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include "common/money.h"
#include "store/schema.h"
#include "store/schema_setup.h"
#include "store/storage_failure.h"
#include "store/stored_date_time.h"
#include "store/transaction.h"

namespace store {

namespace {

// A value as its column stores it: amounts as their decimal value, date-times as local text,
// texts never NULL so that an empty box reads back as the empty text.
QVariant storedValue(const QVariant& value, FieldKind kind) {
    switch (kind) {
        case FieldKind::Text: {
            const QString text = value.toString();
            return text.isNull() ? QStringLiteral("") : text;
        }
        case FieldKind::DateTime: {
            const QDateTime dateTime = value.toDateTime();
            return dateTime.isValid() ? QVariant(toStoredDateTime(dateTime))
                                      : QVariant(QMetaType::fromType<QString>());
        }
        case FieldKind::Amount:
            break;
    }
    return value.value<common::Money>().toStoredReal();
}

QStringList quotedColumns(const TableSchema& schema) {
    QStringList names;
    for (const Column& column : schema.columns) {
        names.append(quotedIdentifier(column.name));
    }
    return names;
}

void bindRecord(QSqlQuery& query, const TableSchema& schema, const QVariantList& values) {
    for (int i = 0; i < schema.columns.size(); ++i) {
        query.addBindValue(storedValue(values[i], schema.columns[i].kind));
    }
}

bool execute(QSqlQuery& query, QString* reason) {
    if (query.exec()) {
        return true;
    }
    *reason = sqlFailureReason(query.lastError());
    return false;
}

bool insertRow(QSqlDatabase& connection, const TableSchema& schema, const QVariantList& values,
               QString* reason) {
    QSqlQuery query(connection);
    const QStringList placeholders(schema.columns.size(), QStringLiteral("?"));
    query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(quotedIdentifier(schema.name),
                           quotedColumns(schema).join(QStringLiteral(", ")),
                           placeholders.join(QStringLiteral(", "))));
    bindRecord(query, schema, values);
    return execute(query, reason);
}

bool copyToHistory(QSqlDatabase& connection, qint64 rowid, QString* reason) {
    const QString columns = quotedColumns(receiptSchema()).join(QStringLiteral(", "));
    QSqlQuery query(connection);
    query.prepare(QStringLiteral("INSERT INTO %1 (%2, %3) SELECT %2, ? FROM %4 WHERE rowid = ?")
                      .arg(quotedIdentifier(receiptHistorySchema().name), columns,
                           quotedIdentifier(kChangedAtField.toString()),
                           quotedIdentifier(receiptSchema().name)));
    query.addBindValue(toStoredDateTime(QDateTime::currentDateTime()));
    query.addBindValue(rowid);
    return execute(query, reason);
}

bool updateRow(QSqlDatabase& connection, const TableSchema& schema, qint64 rowid,
               const QVariantList& values, QString* reason) {
    QStringList assignments;
    for (const QString& column : quotedColumns(schema)) {
        assignments.append(column + QStringLiteral(" = ?"));
    }
    QSqlQuery query(connection);
    query.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                      .arg(quotedIdentifier(schema.name), assignments.join(QStringLiteral(", "))));
    bindRecord(query, schema, values);
    query.addBindValue(rowid);
    if (!execute(query, reason)) {
        return false;
    }
    if (query.numRowsAffected() != 1) {
        *reason = QStringLiteral("要修改的记录已不存在");
        return false;
    }
    return true;
}

}  // namespace

bool appendRow(QSqlDatabase& connection, const TableSchema& schema, const QVariantList& values,
               QString* reason) {
    return runInTransaction(connection, reason,
                            [&] { return insertRow(connection, schema, values, reason); });
}

bool rewriteRow(QSqlDatabase& connection, const TableSchema& schema, qint64 rowid,
                const QVariantList& values, QString* reason) {
    const bool keepsHistory = &schema == &receiptSchema();
    return runInTransaction(connection, reason, [&] {
        return (!keepsHistory || copyToHistory(connection, rowid, reason)) &&
               updateRow(connection, schema, rowid, values, reason);
    });
}

}  // namespace store
