#pragma once

#include <QString>
#include <optional>

namespace platform {

// Whether standard input comes from a person at a terminal rather than from a pipe or a file.
bool standardInputIsTerminal();

// One line of standard input without its line end (nor a carriage return before it); none when
// the input ended before anything was read. With hideTyping on a terminal, what is typed is not
// shown, and the terminal shows typing again before this returns, or before the program ends
// when it is interrupted meanwhile.
std::optional<QString> readStandardInputLine(bool hideTyping);

}  // namespace platform
