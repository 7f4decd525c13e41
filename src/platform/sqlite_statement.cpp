#include "platform/sqlite_statement.h"

#include <sqlite3.h>

#include <QSqlDatabase>

#include "platform/sqlite_connection.h"

namespace platform {

SqliteStatement::SqliteStatement(const QSqlDatabase& database, const QString& sql)
    : m_connection(sqliteConnectionOf(database)) {
    if (m_connection == nullptr) {
        m_errorCode = SQLITE_MISUSE;
        m_errorText = QStringLiteral("no open SQLite connection");
        return;
    }
    const int result = sqlite3_prepare16_v2(m_connection, sql.utf16(),
                                            static_cast<int>(sql.size() * sizeof(char16_t)),
                                            &m_statement, nullptr);
    if (result != SQLITE_OK) {
        recordFailure(result);
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_statement);
}

void SqliteStatement::bindInt64(int parameter, qint64 value) {
    sqlite3_reset(m_statement);
    sqlite3_bind_int64(m_statement, parameter, value);
}

void SqliteStatement::bindText(int parameter, const QString& value) {
    sqlite3_reset(m_statement);
    sqlite3_bind_text16(m_statement, parameter, value.utf16(),
                        static_cast<int>(value.size() * sizeof(char16_t)), SQLITE_TRANSIENT);
}

void SqliteStatement::bindRowTest(int parameter, const SqliteRowTest* test) {
    sqlite3_reset(m_statement);
    sqlite3_bind_pointer(m_statement, parameter, const_cast<SqliteRowTest*>(test),
                         kRowTestPointerType, nullptr);
}

bool SqliteStatement::step() {
    if (m_statement == nullptr) {
        return false;
    }
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW) {
        return true;
    }
    if (result != SQLITE_DONE) {
        recordFailure(result);
    }
    return false;
}

void SqliteStatement::reset() {
    sqlite3_reset(m_statement);
    m_errorCode = 0;
    m_errorText.clear();
}

SqliteType SqliteStatement::columnType(int column) const {
    return sqliteTypeOf(sqlite3_column_type(m_statement, column));
}

qint64 SqliteStatement::columnInt64(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

double SqliteStatement::columnDouble(int column) const {
    return sqlite3_column_double(m_statement, column);
}

QByteArrayView SqliteStatement::columnUtf8(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return QByteArrayView(text, sqlite3_column_bytes(m_statement, column));
}

QString SqliteStatement::columnText(int column) const {
    const QByteArrayView utf8 = columnUtf8(column);
    return utf8.data() == nullptr ? QString() : QString::fromUtf8(utf8);
}

void SqliteStatement::recordFailure(int resultCode) {
    m_errorCode = resultCode;
    m_errorText = QString::fromUtf8(sqlite3_errmsg(m_connection));
}

}  // namespace platform
