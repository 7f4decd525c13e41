#include "common/stored_date_time.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace common {

namespace {

constexpr qsizetype kStoredLength = 19;  // YYYY-MM-DD HH:MM:SS
constexpr qint64 kMsecsPerHour = 60 * 60 * 1000;
constexpr qint64 kMsecsPerDay = 24 * kMsecsPerHour;
// Further from UTC than any zone's offset, either way.
constexpr qint64 kBeyondEveryOffset = 15 * kMsecsPerHour;
// No zone has changed its clocks twice within six hours: offsets this far apart that agree
// have no change of the clocks between them.
constexpr qint64 kOffsetSampleStep = 6 * kMsecsPerHour;
// The days whose offsets a thread remembers, a few years of them.
constexpr qsizetype kMaxDaysRemembered = 1 << 12;

int localOffsetAt(qint64 msecsSinceEpoch) {
    return QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch).offsetFromUtc();
}

// A local time that happens twice (the end of a summer time) is always its first occurrence.
// Qt alone picks either one, by what the C library converted before, so that one text could
// read as two instants.
QDateTime localDateTimeAsked(const QDate& date, const QTime& time) {
    const QDateTime asQtReadsIt(date, time);
    if (!asQtReadsIt.isValid()) {
        return asQtReadsIt;
    }
    const qint64 wallClock = QDateTime(date, time, Qt::UTC).toMSecsSinceEpoch();
    std::optional<qint64> first;
    // The zone's offsets a day either side cover any one change of the clocks.
    for (const int offset :
         {localOffsetAt(wallClock - kMsecsPerDay), localOffsetAt(wallClock + kMsecsPerDay)}) {
        const qint64 instant = wallClock - qint64{offset} * 1000;
        if (localOffsetAt(instant) == offset && (!first || instant < *first)) {
            first = instant;
        }
    }
    // A local time that never happens (the start of a summer time) is left to Qt.
    return first ? QDateTime::fromMSecsSinceEpoch(*first) : asQtReadsIt;
}

// The zone's offset all through the instants that localDateTimeAsked() looks at for the times of
// one day (a day either side, and a zone's offset beyond); none when the clocks change then.
std::optional<int> steadyOffsetAround(const QDate& date) {
    const qint64 dayStart = QDateTime(date, QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
    const qint64 first = dayStart - kMsecsPerDay - kBeyondEveryOffset;
    const qint64 last = dayStart + 2 * kMsecsPerDay + kBeyondEveryOffset;
    const int offset = localOffsetAt(first);
    for (qint64 at = first + kOffsetSampleStep; at - kOffsetSampleStep < last;
         at += kOffsetSampleStep) {
        if (localOffsetAt(std::min(at, last)) != offset) {
            return std::nullopt;
        }
    }
    return offset;
}

// The steady offsets of the days read on one thread, found in the zone that TZ named then.
struct RememberedDays {
    std::optional<std::string> zone;
    QHash<qint64, std::optional<int>> offsets;  // by the day's Julian day number
};

// As localDateTimeAsked(), which asks the zone for four offsets: on the days when the clocks
// stay (nearly all), the instant is the wall clock less the day's offset.
QDateTime localDateTime(const QDate& date, const QTime& time) {
    if (!date.isValid() || !time.isValid()) {
        return QDateTime(date, time);
    }
    thread_local RememberedDays remembered;
    const char* zone = std::getenv("TZ");
    if (zone == nullptr ? remembered.zone.has_value() : remembered.zone != zone) {
        remembered.zone = zone == nullptr ? std::nullopt : std::optional<std::string>(zone);
        remembered.offsets.clear();
    }
    auto day = remembered.offsets.constFind(date.toJulianDay());
    if (day == remembered.offsets.cend()) {
        if (remembered.offsets.size() >= kMaxDaysRemembered) {
            remembered.offsets.clear();
        }
        day = remembered.offsets.insert(date.toJulianDay(), steadyOffsetAround(date));
    }
    if (!day->has_value()) {
        return localDateTimeAsked(date, time);
    }
    return QDateTime::fromMSecsSinceEpoch(QDateTime(date, time, Qt::UTC).toMSecsSinceEpoch() -
                                          qint64{**day} * 1000);
}

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
        return localDateTime(QDate(year, month, day), QTime(hour, minute, second));
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
