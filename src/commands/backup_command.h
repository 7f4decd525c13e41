#pragma once

#include <QString>
#include <QStringList>

#include "commands/exit_status.h"

class QTextStream;

namespace platform {
class Clock;
}

namespace commands {

// inpatient-billing [--database FILE] backup TARGET: a consistent copy of the database file at
// databaseLocation, correct while desks are writing, written to the file TARGET or, when TARGET
// is a folder (or ends with a slash), into it as billing-YYYYMMDD-HHMMSS.sqlite at the clock's
// time. Missing folders are made. The copy's path goes to out, every message to err.
int runBackupCommand(const QStringList& arguments, const QString& databaseLocation,
                     const platform::Clock& clock, QTextStream& out, QTextStream& err);

}  // namespace commands
