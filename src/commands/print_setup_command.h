#pragma once

#include <QString>
#include <QStringList>

#include "commands/exit_status.h"

class QTextStream;

namespace commands {

// inpatient-billing print-setup [options]: with no option it opens the print setup window on the
// desk settings file at configPath; with options it changes, prints or shows the settings and
// ends. Nothing changes unless every given value is usable. Messages go to err, --show to out.
int runPrintSetup(const QStringList& arguments, const QString& configPath, QTextStream& out,
                  QTextStream& err);

}  // namespace commands
