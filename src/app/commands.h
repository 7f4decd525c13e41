#pragma once

#include "app/command_line.h"

namespace app {

// Runs the command of the command line (print-setup, cashier, backup, restore, receipts, shift)
// with the arguments after it and returns the program's exit status; an unknown command is a
// usage error.
int runCommand(const CommandLine& commandLine);

}  // namespace app
