#include "common/local_date_time.h"

#include <QHash>
#include <cstdlib>
#include <optional>
#include <string>

namespace common {

namespace {

constexpr qint64 kMsecsPerHour = 60 * 60 * 1000;
constexpr qint64 kMsecsPerDay = 24 * kMsecsPerHour;
// Further from UTC than any zone's offset has been, either way (local mean times included).
constexpr qint64 kBeyondEveryOffset = 16 * kMsecsPerHour;
// No zone has changed its clocks twice within six hours: offsets this far apart that agree have
// no change of the clocks between them.
constexpr qint64 kSampleStep = 6 * kMsecsPerHour;
// The days a thread remembers, a few years of them.
constexpr qsizetype kMostDaysRemembered = 1 << 12;

// Asking the system costs microseconds: with TZ unset, the C library looks at the zone's file
// again each time Qt converts.
int offsetAt(qint64 msecsSinceEpoch) {
    return QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch).offsetFromUtc();
}

// The first occurrence asked of the system: the zone's offsets a day either side cover any one
// change of the clocks.
QDateTime firstOccurrenceAsked(const QDate& date, const QTime& time) {
    const QDateTime asQtReadsIt(date, time);
    if (!asQtReadsIt.isValid()) {
        return asQtReadsIt;
    }
    const qint64 wallClock = QDateTime(date, time, Qt::UTC).toMSecsSinceEpoch();
    std::optional<qint64> first;
    for (const int offset :
         {offsetAt(wallClock - kMsecsPerDay), offsetAt(wallClock + kMsecsPerDay)}) {
        const qint64 instant = wallClock - qint64{offset} * 1000;
        if (offsetAt(instant) == offset && (!first || instant < *first)) {
            first = instant;
        }
    }
    return first ? QDateTime::fromMSecsSinceEpoch(*first) : asQtReadsIt;
}

// The number of the sampling grid's step at or before the instant.
qint64 stepAtOrBefore(qint64 msecsSinceEpoch) {
    return msecsSinceEpoch / kSampleStep - (msecsSinceEpoch % kSampleStep < 0 ? 1 : 0);
}

// What one thread has found of the zone that TZ named when it looked.
class ZoneMemory {
public:
    // Forgets all when TZ names another zone than before.
    void follow(const char* zone) {
        if (zone == nullptr ? m_zone.has_value() : m_zone != zone) {
            m_zone = zone == nullptr ? std::nullopt : std::optional<std::string>(zone);
            forget();
        }
    }

    // The offset all through the instants that a wall clock on date may name (a zone's offset
    // either side of the day); none when the clocks change then. On such a day every wall clock
    // time happens once, at the wall clock less the offset.
    std::optional<int> steadyOffset(const QDate& date) {
        auto day = m_days.constFind(date.toJulianDay());
        if (day != m_days.cend()) {
            return *day;
        }
        if (m_days.size() >= kMostDaysRemembered) {
            forget();
        }
        const qint64 dayStart = QDateTime(date, QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
        const qint64 first = stepAtOrBefore(dayStart - kBeyondEveryOffset);
        const qint64 last = stepAtOrBefore(dayStart + kMsecsPerDay + kBeyondEveryOffset) + 1;
        std::optional<int> steady = sample(first);
        for (qint64 step = first + 1; steady && step <= last; ++step) {
            if (sample(step) != *steady) {
                steady.reset();
            }
        }
        return *m_days.insert(date.toJulianDay(), steady);
    }

private:
    // The offset at a step of the sampling grid, which the days around it share.
    int sample(qint64 step) {
        auto found = m_samples.constFind(step);
        if (found == m_samples.cend()) {
            found = m_samples.insert(step, offsetAt(step * kSampleStep));
        }
        return *found;
    }

    void forget() {
        m_days.clear();
        m_samples.clear();
    }

    std::optional<std::string> m_zone;
    QHash<qint64, std::optional<int>> m_days;  // by the Julian day number
    QHash<qint64, int> m_samples;              // by the step since the epoch
};

}  // namespace

QDateTime firstLocalDateTime(const QDate& date, const QTime& time) {
    if (!date.isValid() || !time.isValid()) {
        return QDateTime(date, time);
    }
    thread_local ZoneMemory zone;
    zone.follow(std::getenv("TZ"));
    const std::optional<int> offset = zone.steadyOffset(date);
    if (!offset) {
        return firstOccurrenceAsked(date, time);
    }
    return QDateTime::fromMSecsSinceEpoch(QDateTime(date, time, Qt::UTC).toMSecsSinceEpoch() -
                                          qint64{*offset} * 1000);
}

}  // namespace common
