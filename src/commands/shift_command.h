#pragma once

#include <QString>
#include <QStringList>

#include "commands/exit_status.h"
#include "common/money.h"
#include "common/office_names.h"

class QTextStream;

namespace commands {

// inpatient-billing [--database ...] shift list [--date DATE] | show N | open CASHIER [--pdf FILE]
// on the database at databaseLocation, which is first prepared as at the program's first start.
// The report goes to out as text, or with --pdf as an A4 PDF file; every message goes to err.
// Settling stays in the window, where the cashier is logged in.
struct ShiftDesk {
    // This desk's float, which the open shift's report counts in the cash its drawer should hold.
    common::Money cashFloat;
    common::OfficeNames office;  // named at the top of the PDF reports
};
int runShiftCommand(const QStringList& arguments, const QString& databaseLocation,
                    const ShiftDesk& desk, QTextStream& out, QTextStream& err);

}  // namespace commands
