#pragma once

#include <QStringList>

namespace app {

// Runs the command named first in command (print-setup) with the arguments after it and returns
// the program's exit status; an unknown command is a usage error.
int runCommand(const QStringList& command);

}  // namespace app
