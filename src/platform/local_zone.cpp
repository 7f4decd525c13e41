#include "platform/local_zone.h"

#include <QByteArray>
#include <QtGlobal>

namespace platform {

void readLocalZoneOnce() {
#if defined(Q_OS_LINUX)
    // ":/etc/localtime" is the zone glibc reads when TZ is unset; Qt reads it as the system zone.
    if (!qEnvironmentVariableIsSet("TZ")) {
        qputenv("TZ", QByteArrayLiteral(":/etc/localtime"));
    }
#endif
}

}  // namespace platform
