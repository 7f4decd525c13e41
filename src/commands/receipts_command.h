#pragma once

#include <QString>
#include <QStringList>

#include "commands/exit_status.h"

class QIODevice;
class QTextStream;

namespace commands {

// inpatient-billing [--database ...] receipts [--number P] [--name TEXT] [--from DATE]
// [--to DATE] [--cashier NAME] [--voided] [--output FILE]: the receipts the filters find, as the
// register lists them, written as CSV to out, or to FILE (CSV or XLSX by its extension), for the
// IT staff's scripts. The database at databaseLocation is first prepared as at the program's
// first start. Messages go to err. Nothing is written unless the whole list is: the CSV for out
// is gathered in a temporary file first.
int runReceiptsCommand(const QStringList& arguments, const QString& databaseLocation,
                       QIODevice& out, QTextStream& err);

}  // namespace commands
