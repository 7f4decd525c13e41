#include "storage/sqlite/catalog.h"

#include <sqlite3.h>

#include "storage/sqlite/statement.h"

namespace storage {

namespace {

bool succeeded(const SqliteStatement& statement, QString* reason) {
    if (statement.isPrepared() && statement.errorCode() == 0) {
        return true;
    }
    *reason = statement.failureReason();
    return false;
}

}  // namespace

bool SqliteCatalog::columnsOf(const QString& table, QStringList* columns, QString* reason) {
    SqliteStatement query(m_connection, QStringLiteral("SELECT name FROM pragma_table_info(?1)"));
    query.bindText(1, table);
    while (query.step()) {
        columns->append(query.columnText(0));
    }
    return succeeded(query, reason);
}

bool SqliteCatalog::hasIndex(const QString& name, bool* exists, QString* reason) {
    qint64 count = 0;
    SqliteStatement query(m_connection,
                          QStringLiteral("SELECT count(*) FROM sqlite_master WHERE "
                                         "type = 'index' AND name = ?1 COLLATE NOCASE"));
    query.bindText(1, name);
    if (query.step()) {
        count = query.columnInt64(0);
    }
    *exists = count > 0;
    return succeeded(query, reason);
}

bool SqliteCatalog::run(const QString& sql, QString* reason) {
    SqliteStatement statement(m_connection, sql);
    statement.execute();
    return succeeded(statement, reason);
}

bool SqliteCatalog::queryNumber(const QString& sql, qint64* number, QString* reason) {
    SqliteStatement query(m_connection, sql);
    *number = query.step() ? query.columnInt64(0) : 0;
    return succeeded(query, reason);
}

bool SqliteCatalog::mayWrite(const QString&, bool* writable, QString*) {
    *writable = sqlite3_db_readonly(m_connection.handle(), "main") == 0;
    return true;
}

QString SqliteCatalog::sqlType(const Column& column) const {
    switch (column.kind) {
        case FieldKind::Amount:
            return QStringLiteral("REAL");
        case FieldKind::Integer:
            return QStringLiteral("INTEGER");
        case FieldKind::Text:
        case FieldKind::DateTime:
            break;
    }
    return QStringLiteral("TEXT");
}

}  // namespace storage
