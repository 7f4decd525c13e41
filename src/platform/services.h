#pragma once

#include <QString>

namespace platform {

class Clock;
class MessageBoxes;
class Printer;

// The outside world as the windows see it. The program wires the real message boxes, printer
// and clock; tests wire scripted ones.
struct Services {
    MessageBoxes& messageBoxes;
    Printer& printer;
    const Clock& clock;
};

}  // namespace platform
