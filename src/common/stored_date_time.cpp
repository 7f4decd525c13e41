#include "common/stored_date_time.h"

#include <optional>

#include "common/local_date_time.h"

namespace common {

namespace {

constexpr qsizetype kStoredLength = 19;  // YYYY-MM-DD HH:MM:SS
struct Fields {
    int year, month, day, hour, minute, second;

    // The fields packed into one number, in order, for remembering. Each field keeps its two
    // decimal places, so that an out-of-range field (hour 24) never shares the key of another
    // date-time (the next day's 00:00).
    qint64 key() const {
        return ((((qint64{year} * 100 + month) * 100 + day) * 100 + hour) * 100 + minute) * 100 +
               second;
    }
    QDateTime toDateTime() const {
        return firstLocalDateTime(QDate(year, month, day), QTime(hour, minute, second));
    }
};

template <typename Char>
int digitsValue(const Char* text, int count) {
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const auto digit = static_cast<char16_t>(text[i]) - u'0';
        if (digit < 0 || digit > 9) {
            return -1;
        }
        value = value * 10 + digit;
    }
    return value;
}

template <typename Char>
bool hasSeparators(const Char* text) {
    const auto at = [text](int i) { return static_cast<char16_t>(text[i]); };
    return at(4) == u'-' && at(7) == u'-' && (at(10) == u' ' || at(10) == u'T') && at(13) == u':' &&
           at(16) == u':';
}

// The fixed form only.
template <typename Char>
std::optional<Fields> fixedFormFields(const Char* text, qsizetype size) {
    if (size != kStoredLength || !hasSeparators(text)) {
        return std::nullopt;
    }
    const Fields fields{digitsValue(text, 4),      digitsValue(text + 5, 2),
                        digitsValue(text + 8, 2),  digitsValue(text + 11, 2),
                        digitsValue(text + 14, 2), digitsValue(text + 17, 2)};
    if (fields.year < 0 || fields.month < 0 || fields.day < 0 || fields.hour < 0 ||
        fields.minute < 0 || fields.second < 0) {
        return std::nullopt;
    }
    return fields;
}

QString textOf(const char* utf8, qsizetype size) {
    return QString::fromUtf8(utf8, size);
}

QString textOf(const char16_t* utf16, qsizetype size) {
    return QStringView(utf16, size).toString();
}

template <typename Char>
QDateTime fromOtherForms(const Char* text, qsizetype size) {
    const QDateTime value = QDateTime::fromString(textOf(text, size), Qt::ISODateWithMs);
    return value.isValid() ? value.toLocalTime() : value;
}

template <typename Char>
QDateTime parse(const Char* text, qsizetype size) {
    const std::optional<Fields> fields = fixedFormFields(text, size);
    return fields ? fields->toDateTime() : fromOtherForms(text, size);
}

}  // namespace

QString toStoredDateTime(const QDateTime& value) {
    return value.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime fromStoredDateTime(QByteArrayView utf8) {
    return parse(utf8.data(), utf8.size());
}

QDateTime fromStoredDateTime(QStringView text) {
    return parse(text.utf16(), text.size());
}

QDateTime StoredDateTimeReader::read(QByteArrayView utf8) {
    return read(utf8.data(), utf8.size());
}

QDateTime StoredDateTimeReader::read(QStringView text) {
    return read(text.utf16(), text.size());
}

template <typename Char>
QDateTime StoredDateTimeReader::read(const Char* text, qsizetype size) {
    const std::optional<Fields> fields = fixedFormFields(text, size);
    if (!fields) {
        return fromOtherForms(text, size);
    }
    const qint64 key = fields->key();
    const auto made = m_made.constFind(key);
    if (made != m_made.cend()) {
        return *made;
    }
    if (m_made.size() >= kMaxRemembered) {
        m_made.clear();
    }
    return *m_made.insert(key, fields->toDateTime());
}

}  // namespace common
