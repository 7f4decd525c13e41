#pragma once

#include <QString>
#include <functional>
#include <optional>

class QTextStream;

namespace commands {

// Where a new password is typed: at a terminal it is typed twice without being shown; from a
// pipe or a file, the first line is the password.
struct PasswordInput {
    bool fromTerminal = false;
    // The next line, none once the input has ended.
    std::function<std::optional<QString>()> nextLine;
};

// The program's standard input.
PasswordInput standardPasswordInput();

// The new password of a cashier, asked for on prompts at a terminal. None, with the reason in
// *refusal, when the input ended first or the two entries differ.
std::optional<QString> readNewPassword(const PasswordInput& input, const QString& cashier,
                                       QTextStream& prompts, QString* refusal);

}  // namespace commands
