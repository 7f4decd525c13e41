#include "storage/sqlite/statement.h"

#include <sqlite3.h>

#include "storage/sqlite/connection.h"
#include "storage/sqlite/failure.h"

namespace storage {

SqliteStatement::SqliteStatement(const SqliteConnection& connection, const QString& sql)
    : m_connection(connection.handle()) {
    if (m_connection == nullptr) {
        recordFailure(SQLITE_MISUSE);
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

void SqliteStatement::bindDouble(int parameter, double value) {
    sqlite3_reset(m_statement);
    sqlite3_bind_double(m_statement, parameter, value);
}

void SqliteStatement::bindText(int parameter, const QString& value) {
    sqlite3_reset(m_statement);
    // A null QString would bind as NULL; a text is never absent once written.
    static const QString kEmpty = QStringLiteral("");
    const QString& text = value.isNull() ? kEmpty : value;
    sqlite3_bind_text16(m_statement, parameter, text.utf16(),
                        static_cast<int>(text.size() * sizeof(char16_t)), SQLITE_TRANSIENT);
}

void SqliteStatement::bindNull(int parameter) {
    sqlite3_reset(m_statement);
    sqlite3_bind_null(m_statement, parameter);
}

void SqliteStatement::bindPointer(int parameter, void* object, const char* typeName) {
    sqlite3_reset(m_statement);
    sqlite3_bind_pointer(m_statement, parameter, object, typeName, nullptr);
}

bool SqliteStatement::step() {
    if (m_statement == nullptr) {
        return false;
    }
    m_errorCode = 0;
    m_failureReason.clear();
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW) {
        return true;
    }
    if (result != SQLITE_DONE) {
        recordFailure(result);
    }
    return false;
}

bool SqliteStatement::execute() {
    step();
    sqlite3_reset(m_statement);
    return m_statement != nullptr && m_errorCode == 0;
}

void SqliteStatement::reset() {
    sqlite3_reset(m_statement);
    m_errorCode = 0;
    m_failureReason.clear();
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
    m_failureReason = sqliteFailureReason(
        resultCode, m_connection ? QString::fromUtf8(sqlite3_errmsg(m_connection)) : QString());
}

}  // namespace storage
