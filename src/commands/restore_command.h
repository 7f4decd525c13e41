#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "commands/exit_status.h"

class QTextStream;

namespace platform {
class Clock;
}

namespace commands {

// Where the answer to the restore's question comes from: the next line, none once the input
// has ended.
using AnswerInput = std::function<std::optional<QString>()>;

// The program's standard input, a line at a time.
AnswerInput standardAnswerInput();

// inpatient-billing [--database FILE] restore [--yes] BACKUP: puts a checked backup in the place
// of the database file at databaseLocation, while no program of this computer has that file
// open, and keeps the current file beside it as <file>.before-restore-YYYYMMDD-HHMMSS (the
// clock's time). Tells how many receipts each holds, and asks for "yes" on input when the backup
// holds fewer (or the current file cannot be read) unless --yes is given. Counts and the question
// go to out, every other message to err. Nothing changes unless it ends with kSucceeded.
int runRestoreCommand(const QStringList& arguments, const QString& databaseLocation,
                      const platform::Clock& clock, const AnswerInput& input, QTextStream& out,
                      QTextStream& err);

}  // namespace commands
