#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QCoreApplication;

namespace app {

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
