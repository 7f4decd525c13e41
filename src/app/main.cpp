#include <QApplication>

#include "app/command_line.h"
#include "billing/main_window.h"
#include "platform/clock.h"
#include "platform/form_style.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral(PRODUCT_NAME));
    QApplication::setApplicationVersion(QStringLiteral(PRODUCT_VERSION));
    const app::CommandLine commandLine = app::parseCommandLine(application);
    platform::installFormTypeface();

    const platform::SystemClock clock;
    billing::MainWindow mainWindow(clock);
    mainWindow.show();
    mainWindow.newReceipt();
    return QApplication::exec();
}
