#pragma once

#include <QString>
#include <QStringList>

#include "commands/exit_status.h"

class QTextStream;

namespace commands {

// inpatient-billing desk [options]: shows or sets what this desk's drawer works with in the desk
// settings file at configPath: the payment methods it offers and the float each shift starts
// with. Nothing changes unless every given value is usable. Messages go to err, the settings to
// out.
int runDeskCommand(const QStringList& arguments, const QString& configPath, QTextStream& out,
                   QTextStream& err);

}  // namespace commands
