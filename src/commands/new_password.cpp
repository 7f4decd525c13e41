#include "commands/new_password.h"

#include <QTextStream>

#include "platform/terminal_input.h"

namespace commands {

PasswordInput standardPasswordInput() {
    return {platform::standardInputIsTerminal(),
            [] { return platform::readStandardInputLine(true); }};
}

std::optional<QString> readNewPassword(const PasswordInput& input, const QString& cashier,
                                       QTextStream& prompts, QString* refusal) {
    if (!input.fromTerminal) {
        std::optional<QString> line = input.nextLine();
        if (!line) {
            *refusal = QStringLiteral("标准输入是空的，没有读到新密码。");
        }
        return line;
    }
    prompts << QStringLiteral("收费员“%1”的新密码：").arg(cashier) << Qt::flush;
    const std::optional<QString> first = input.nextLine();
    if (first) {
        prompts << QStringLiteral("再输入一次：") << Qt::flush;
    }
    const std::optional<QString> second = first ? input.nextLine() : std::nullopt;
    if (!second) {
        *refusal = QStringLiteral("没有输入新密码。");
        return std::nullopt;
    }
    if (*first != *second) {
        *refusal = QStringLiteral("两次输入的新密码不一样。");
        return std::nullopt;
    }
    return first;
}

}  // namespace commands
