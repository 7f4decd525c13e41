#pragma once

#include <QString>

#include "platform/page_painter.h"

namespace widgets {
class MessageBoxes;
}

namespace platform {

class Clock;
class Printer;

// The outside world as the windows see it. The program wires the real message boxes, printer
// and clock; tests wire scripted ones.
struct Services {
    widgets::MessageBoxes& messageBoxes;
    Printer& printer;
    const Clock& clock;
    // The desk's picture of the blank form, which views of a stored receipt draw it on; none
    // when the desk has none.
    FormPicture deskForm = {};
};

}  // namespace platform
