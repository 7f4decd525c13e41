#pragma once

#include <QString>

namespace platform {

class Clock;
class MessageBoxes;
class Printer;

// The outside world as the windows see it. The program wires the real message boxes, printer,
// clock and database; tests wire scripted ones and a fresh database file.
struct Services {
    MessageBoxes& messageBoxes;
    Printer& printer;
    const Clock& clock;
    QString databasePath;
};

}  // namespace platform
