#pragma once

#include <QStringList>

namespace app {

// Whether a command's arguments ask only for its help text.
inline bool asksForHelp(const QStringList& arguments) {
    return arguments == QStringList{QStringLiteral("--help")} ||
           arguments == QStringList{QStringLiteral("-h")};
}

}  // namespace app
