#pragma once

#include <QString>

#include "platform/qt_printer.h"
#include "printing/print_settings.h"

namespace printing {

// The desk's settings as the printer takes them, with the form picture read and fitted to its
// area. When the picture cannot be read the printouts go without it and *problem says why.
platform::DeskPrinting deskPrinting(const PrintSettings& settings, QString* problem);

}  // namespace printing
