#include "app/commands.h"

#include <QFile>
#include <QTextStream>
#include <cstdio>

#include "commands/backup_command.h"
#include "commands/cashier_command.h"
#include "commands/deposits_command.h"
#include "commands/desk_command.h"
#include "commands/exit_status.h"
#include "commands/print_setup_command.h"
#include "commands/receipts_command.h"
#include "commands/restore_command.h"
#include "commands/shift_command.h"
#include "platform/clock.h"
#include "settings/desk_config.h"

namespace app {

int runCommand(const CommandLine& commandLine) {
    const QString& name = commandLine.command.first();
    const QStringList arguments = commandLine.command.mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (name == QStringLiteral("print-setup")) {
        return commands::runPrintSetup(arguments, settings::deskConfigPath(), out, err);
    }
    if (name == QStringLiteral("desk")) {
        return commands::runDeskCommand(arguments, settings::deskConfigPath(), out, err);
    }
    const settings::DeskConfig config = settings::readDeskConfig(settings::deskConfigPath());
    const QString location = chosenDatabaseLocation(commandLine, config.database);
    const platform::SystemClock clock;
    if (name == QStringLiteral("cashier")) {
        return commands::runCashierCommand(arguments, location, commands::standardPasswordInput(),
                                           out, err);
    }
    if (name == QStringLiteral("backup")) {
        return commands::runBackupCommand(arguments, location, clock, out, err);
    }
    if (name == QStringLiteral("restore")) {
        return commands::runRestoreCommand(arguments, location, clock,
                                           commands::standardAnswerInput(), out, err);
    }
    if (name == QStringLiteral("shift")) {
        return commands::runShiftCommand(arguments, location,
                                         {config.cash.cashFloat, config.printing.office}, out, err);
    }
    if (name == QStringLiteral("receipts")) {
        QFile standardOutput;
        standardOutput.open(stdout, QIODevice::WriteOnly);
        return commands::runReceiptsCommand(arguments, location, standardOutput, err);
    }
    if (name == QStringLiteral("deposits")) {
        QFile standardOutput;
        standardOutput.open(stdout, QIODevice::WriteOnly);
        return commands::runDepositsCommand(arguments, location, standardOutput, err);
    }
    err << QStringLiteral("没有“%1”这个命令。用 inpatient-billing --help 查看用法。").arg(name)
        << '\n';
    return commands::kUsageError;
}

}  // namespace app
