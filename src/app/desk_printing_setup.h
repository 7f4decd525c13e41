#pragma once

#include "platform/qt_printer.h"
#include "settings/desk_config.h"

namespace widgets {
class MessageBoxes;
}

namespace app {

// The desk's print settings for the program's printer. What cannot be used (lines of the settings
// file that were ignored, a form picture that cannot be read) is told to the cashier in one
// message box, and the printouts go with the rest.
platform::DeskPrinting deskPrintingForProgram(const settings::DeskConfig& config,
                                              widgets::MessageBoxes& messageBoxes);

}  // namespace app
