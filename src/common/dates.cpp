#include "common/dates.h"

namespace common {

long long stayLengthInDays(const QDateTime& admission, const QDateTime& discharge) {
    if (admission == discharge) {
        return 1;
    }
    const qint64 days = admission.date().daysTo(discharge.date());
    return days == 0 ? 1 : days;
}

QString stayLengthText(const QDateTime& admission, const QDateTime& discharge) {
    return QStringLiteral("共计") + QString::number(stayLengthInDays(admission, discharge)) +
           QStringLiteral("天");
}

QString yearMonthDayText(const QDate& date) {
    return QString::number(date.year()) + QLatin1Char('-') + QString::number(date.month()) +
           QLatin1Char('-') + QString::number(date.day());
}

std::optional<QDate> dayFromIsoText(const QString& text) {
    const QDate day = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid() || text.size() != 10) {
        return std::nullopt;
    }
    return day;
}

QDateTime startOfDay(const QDate& date) {
    return QDateTime(date, QTime(0, 0));
}

}  // namespace common
