#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

namespace common {

// The stay length in days: 1 day when admission and discharge are the same, otherwise the number
// of days from admission to discharge (a stay from one day to the next is 1 day too).
long long stayLengthInDays(const QDateTime& admission, const QDateTime& discharge);

// "共计" + the stay length + "天".
QString stayLengthText(const QDateTime& admission, const QDateTime& discharge);

// Year, month and day without leading zeros, joined by "-": 2008-3-5.
QString yearMonthDayText(const QDate& date);

// The day a text names in the form YYYY-MM-DD and nothing else (2026-03-05); none for any other
// text, "2026-3-5", "2026/03/05" and "2026-03-05x" among them.
std::optional<QDate> dayFromIsoText(const QString& text);

// A date as a date-time at the start of its day, the form in which receipts store dates.
QDateTime startOfDay(const QDate& date);

}  // namespace common
