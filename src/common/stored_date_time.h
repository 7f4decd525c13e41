#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringView>

namespace common {

// Date-times are stored as local time in SQLite's own text form, "YYYY-MM-DD HH:MM:SS".
QString toStoredDateTime(const QDateTime& value);

// Reads the stored form by hand; other ISO 8601 forms are accepted too. Anything else gives an
// invalid QDateTime.
QDateTime fromStoredDateTime(QByteArrayView utf8);
QDateTime fromStoredDateTime(QStringView text);

// Reads stored date-times for a walk over many records. Making a local QDateTime asks the
// system for the zone's offset, which can cost microseconds, while receipts share few dates: the
// reader keeps the ones it has made.
class StoredDateTimeReader {
public:
    QDateTime read(QByteArrayView utf8);
    QDateTime read(QStringView text);

private:
    template <typename Char>
    QDateTime read(const Char* text, qsizetype size);

    static constexpr qsizetype kMaxRemembered = 1 << 16;
    QHash<qint64, QDateTime> m_made;
};

}  // namespace common
