#pragma once

#include <QString>
#include <QStringList>

#include "commands/exit_status.h"
#include "commands/new_password.h"

class QTextStream;

namespace commands {

// inpatient-billing [--database ...] cashier list | add NAME | password NAME | remove NAME, on
// the database at databaseLocation, which is first prepared as at the program's first start.
// New passwords come from input. The list goes to out, every message to err.
int runCashierCommand(const QStringList& arguments, const QString& databaseLocation,
                      const PasswordInput& input, QTextStream& out, QTextStream& err);

}  // namespace commands
