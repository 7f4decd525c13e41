#pragma once

#include <QDateTime>
#include <QString>

namespace storage {

// The desk's time zone as a server's TimeZone setting names it, so that the server's clock reads
// as the ward's local time: the system zone's IANA name when that zone agrees with the desk's
// clock at now, else deskFixedOffsetZone(now).
QString deskTimeZone(const QDateTime& now);

// The desk clock's present offset from UTC as a POSIX zone, which every server understands (its
// sign is the reverse of ISO's: "<+08>-08:00" is eight hours east of Greenwich).
QString deskFixedOffsetZone(const QDateTime& now);

}  // namespace storage
