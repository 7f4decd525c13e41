#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace common {

// The local date-time that a wall clock's date and time name. A time that happened twice (the end
// of a summer time) is always its first occurrence: Qt alone picks either one, by what the C
// library converted before, so that one text could read as two instants. A time that never
// happened (the start of a summer time) is as Qt reads it; an invalid date or time gives an
// invalid QDateTime.
//
// Each thread remembers, per day and for the zone that TZ names, the zone's offsets around the
// day, so that a read on a day when the clocks stay asks the system for nothing but the
// QDateTime itself. Safe to call from any thread.
QDateTime firstLocalDateTime(const QDate& date, const QTime& time);

}  // namespace common
