#pragma once

#include <QString>

class QCoreApplication;

namespace app {

struct CommandLine {
    QString databasePath;
};

// Reads the program's options; --help and --version print their text and end the program.
CommandLine parseCommandLine(const QCoreApplication& application);

// Where the database lives unless --database says otherwise.
QString defaultDatabasePath();

}  // namespace app
