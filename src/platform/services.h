#pragma once

#include <QString>

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
};

}  // namespace platform
