#include "storage/postgres/desk_time_zone.h"

#include <QTimeZone>
#include <cstdlib>

namespace storage {

QString deskTimeZone(const QDateTime& now) {
    const QByteArray name = QTimeZone::systemTimeZoneId();
    const QTimeZone zone(name);
    if (name.isEmpty() || !zone.isValid() || zone.offsetFromUtc(now) != now.offsetFromUtc()) {
        return deskFixedOffsetZone(now);
    }
    return QString::fromUtf8(name);
}

QString deskFixedOffsetZone(const QDateTime& now) {
    const int offset = now.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    const QString hours = QStringLiteral("%1").arg(minutes / 60, 2, 10, QLatin1Char('0'));
    const QString rest = QStringLiteral("%1").arg(minutes % 60, 2, 10, QLatin1Char('0'));
    const QLatin1Char east(offset < 0 ? '-' : '+');
    const QLatin1Char posixSign(offset < 0 ? '+' : '-');
    return QStringLiteral("<") + east + hours + rest + QLatin1Char('>') + posixSign + hours +
           QLatin1Char(':') + rest;
}

}  // namespace storage
