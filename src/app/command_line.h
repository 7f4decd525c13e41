#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QCoreApplication;

namespace app {

// The application object the command line needs: a QApplication, which needs a display, for the
// program's windows and print-setup; a QGuiApplication drawing offscreen for a shift report
// written as a PDF; a QCoreApplication for the rest (cashier, shift, --help), so that they also run
// on a console without a display.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv);

struct CommandLine {
    // --database as given: a file path or a postgresql:// URI; none when it was not given.
    std::optional<QString> database;
    // A command and its own arguments (print-setup --offset 12,-8); empty to start the program.
    QStringList command;
};

// Reads the program's options; --help and --version print their text and end the program.
CommandLine parseCommandLine(const QCoreApplication& application);

// Where the data is: --database, else database= of the desk settings, else the SQLite file in
// the program's data folder.
QString chosenDatabaseLocation(const CommandLine& commandLine,
                               const std::optional<QString>& deskSetting);

}  // namespace app
