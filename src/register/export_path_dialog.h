#pragma once

#include <QString>

class QWidget;

namespace receipt_register {

// Asks where to export, offering suggestedName (an .xlsx) in the user's documents; a name given
// without an extension gets the one of the type chosen. Empty when the user gives up.
QString askExportPath(QWidget* parent, const QString& suggestedName);

}  // namespace receipt_register
