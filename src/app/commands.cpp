#include "app/commands.h"

#include <QFile>
#include <QTextStream>
#include <cstdio>

#include "commands/backup_command.h"
#include "commands/cashier_command.h"
#include "commands/print_setup_command.h"
#include "commands/receipts_command.h"
#include "commands/restore_command.h"
#include "commands/shift_command.h"
#include "platform/clock.h"
#include "settings/desk_config.h"

namespace app {

int runCommand(const CommandLine& commandLine) {
    const QStringList& command = commandLine.command;
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (command.first() == QStringLiteral("print-setup")) {
        return runPrintSetup(command.mid(1), deskConfigPath(), out, err);
    }
    if (command.first() == QStringLiteral("cashier")) {
        const DeskConfig deskConfig = readDeskConfig(deskConfigPath());
        return runCashierCommand(command.mid(1),
                                 chosenDatabaseLocation(commandLine, deskConfig.database),
                                 standardPasswordInput(), out, err);
    }
    if (command.first() == QStringLiteral("backup") ||
        command.first() == QStringLiteral("restore")) {
        const DeskConfig deskConfig = readDeskConfig(deskConfigPath());
        const QString location = chosenDatabaseLocation(commandLine, deskConfig.database);
        const platform::SystemClock clock;
        return command.first() == QStringLiteral("backup")
                   ? runBackupCommand(command.mid(1), location, clock, out, err)
                   : runRestoreCommand(command.mid(1), location, clock, standardAnswerInput(), out,
                                       err);
    }
    if (command.first() == QStringLiteral("shift")) {
        const DeskConfig deskConfig = readDeskConfig(deskConfigPath());
        return runShiftCommand(command.mid(1),
                               chosenDatabaseLocation(commandLine, deskConfig.database), out, err);
    }
    if (command.first() == QStringLiteral("receipts")) {
        const DeskConfig deskConfig = readDeskConfig(deskConfigPath());
        QFile standardOutput;
        standardOutput.open(stdout, QIODevice::WriteOnly);
        return runReceiptsCommand(command.mid(1),
                                  chosenDatabaseLocation(commandLine, deskConfig.database),
                                  standardOutput, err);
    }
    err << QStringLiteral("没有“%1”这个命令。用 inpatient-billing --help 查看用法。")
               .arg(command.first())
        << '\n';
    return kUsageError;
}

}  // namespace app
