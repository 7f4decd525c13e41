#pragma once

namespace commands {

// Exit statuses of the commands that end without a window.
enum ExitStatus { kSucceeded = 0, kRefused = 1, kUsageError = 2 };

}  // namespace commands
