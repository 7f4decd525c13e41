#include <QApplication>

#include "app/chinese_texts.h"
#include "app/command_line.h"
#include "app/commands.h"
#include "app/daily_backup.h"
#include "app/desk_printing_setup.h"
#include "app/program_shell.h"
#include "platform/clock.h"
#include "platform/local_zone.h"
#include "platform/qt_printer.h"
#include "platform/services.h"
#include "settings/desk_config.h"
#include "store/database.h"
#include "widgets/enter_presses_buttons.h"
#include "widgets/form_style.h"
#include "widgets/message_boxes.h"

int main(int argc, char** argv) {
    platform::readLocalZoneOnce();
    const std::unique_ptr<QCoreApplication> application = app::makeApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral(PRODUCT_NAME));
    QApplication::setApplicationVersion(QStringLiteral(PRODUCT_VERSION));
    app::installChineseTexts(*application);
    const app::CommandLine commandLine = app::parseCommandLine(*application);
    if (qobject_cast<QApplication*>(application.get()) != nullptr) {
        widgets::installFormTypeface();
        application->installEventFilter(new widgets::EnterPressesButtons(application.get()));
    }
    if (!commandLine.command.isEmpty()) {
        return app::runCommand(commandLine);
    }

    widgets::QtMessageBoxes messageBoxes;
    const settings::DeskConfig deskConfig = settings::readDeskConfig(settings::deskConfigPath());
    store::Database database(app::chosenDatabaseLocation(commandLine, deskConfig.database));
    QString problem;
    if (!database.prepare(&problem)) {
        messageBoxes.show(nullptr, {problem, QStringLiteral("数据库错误"),
                                    widgets::MessageButtons::Ok, widgets::MessageIcon::Stop});
        return 1;
    }

    const platform::SystemClock clock;
    const platform::DeskPrinting desk = app::deskPrintingForProgram(deskConfig, messageBoxes);
    platform::QtPrinter printer(database.receiptsFolder(), clock, desk);
    const platform::Services services{messageBoxes,
                                      printer,
                                      clock,
                                      desk.form,
                                      deskConfig.cash.methods(),
                                      deskConfig.cash.cashFloat,
                                      deskConfig.printing.office};

    app::DailyBackup dailyBackup(services, database.location(), deskConfig.backup);
    app::ProgramShell shell(services, database, &dailyBackup);
    QObject::connect(&shell, &app::ProgramShell::exitRequested, application.get(),
                     &QApplication::quit, Qt::QueuedConnection);
    if (!shell.start()) {
        return 0;
    }
    return QApplication::exec();
}
