#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

namespace app {

struct CommandLine {
    QString databasePath;
    // A command and its own arguments (print-setup --offset 12,-8); empty to start the program.
    QStringList command;
};

// Reads the program's options; --help and --version print their text and end the program.
CommandLine parseCommandLine(const QCoreApplication& application);

// Where the database lives unless --database says otherwise.
QString defaultDatabasePath();

}  // namespace app
