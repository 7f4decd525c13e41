#pragma once

#include <QByteArrayView>
#include <QString>

struct sqlite3_value;

namespace storage {

enum class SqliteType { Integer, Float, Text, Blob, Null };

// The type that SQLite's own type code (SQLITE_INTEGER ... SQLITE_NULL) names.
SqliteType sqliteTypeOf(int typeCode);

// One value that SQLite hands to a function written in C++, valid during that call only.
class SqliteValue {
public:
    explicit SqliteValue(sqlite3_value* value) : m_value(value) {}

    SqliteType type() const;
    double toDouble() const;
    QByteArrayView utf8() const;
    QString text() const;

private:
    sqlite3_value* m_value;
};

}  // namespace storage
