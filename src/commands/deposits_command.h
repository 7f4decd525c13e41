#pragma once

#include <QString>
#include <QStringList>

#include "commands/exit_status.h"

class QIODevice;
class QTextStream;

namespace commands {

// inpatient-billing [--database ...] deposits [--number P] [--open] [--from DATE] [--to DATE]
// [--output FILE]: the deposits the filters find, the latest first, written as CSV to out, or to
// FILE (CSV or XLSX by its extension), as receipts writes receipts. The database at
// databaseLocation is first prepared as at the program's first start. Messages go to err.
// Nothing is written unless the whole list is.
int runDepositsCommand(const QStringList& arguments, const QString& databaseLocation,
                       QIODevice& out, QTextStream& err);

}  // namespace commands
