#include "storage/sqlite/value.h"

#include <sqlite3.h>

namespace storage {

SqliteType sqliteTypeOf(int typeCode) {
    switch (typeCode) {
        case SQLITE_INTEGER:
            return SqliteType::Integer;
        case SQLITE_FLOAT:
            return SqliteType::Float;
        case SQLITE_TEXT:
            return SqliteType::Text;
        case SQLITE_BLOB:
            return SqliteType::Blob;
        default:
            return SqliteType::Null;
    }
}

SqliteType SqliteValue::type() const {
    return sqliteTypeOf(sqlite3_value_type(m_value));
}

double SqliteValue::toDouble() const {
    return sqlite3_value_double(m_value);
}

QByteArrayView SqliteValue::utf8() const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(m_value));
    return QByteArrayView(text, sqlite3_value_bytes(m_value));
}

QString SqliteValue::text() const {
    const QByteArrayView utf8Text = utf8();
    return utf8Text.data() == nullptr ? QString() : QString::fromUtf8(utf8Text);
}

}  // namespace storage
