#pragma once

#include <QStringList>
#include <QStringView>
#include <QTextStream>
#include <functional>
#include <optional>

#include "commands/exit_status.h"

namespace store {
class Database;
}

namespace commands {

// Whether a command's arguments ask only for its help text.
inline bool asksForHelp(const QStringList& arguments) {
    return arguments == QStringList{QStringLiteral("--help")} ||
           arguments == QStringList{QStringLiteral("-h")};
}

// Where a command's help is, said after every usage error: "用 inpatient-billing cashier --help
// 查看用法。"
QString usageHint(QStringView command);

// Reads a command's arguments into its request; none, with the reason in *problem, when they
// make no request.
template <typename Request>
using RequestReader = std::function<std::optional<Request>(const QStringList&, QString*)>;

// The opening every command shares: the arguments that ask for help print it to out; arguments
// that make no request are a usage error, told on err with the way to the help; otherwise work
// does the command's own part with the request and returns the exit status.
template <typename Request>
int runCommand(QStringView command, const QString& help, const QStringList& arguments,
               const RequestReader<Request>& read, QTextStream& out, QTextStream& err,
               const std::function<int(const Request&)>& work) {
    if (asksForHelp(arguments)) {
        out << help;
        return kSucceeded;
    }
    QString problem;
    const std::optional<Request> request = read(arguments, &problem);
    if (!request) {
        err << problem << usageHint(command) << '\n';
        return kUsageError;
    }
    return work(*request);
}

// Prepares the database at location as the program's first start would, then runs work on it;
// a database that cannot be used is told on err and refuses the command.
int runOnPreparedDatabase(const QString& location, QTextStream& err,
                          const std::function<int(store::Database&)>& work);

// Runs work on the path of the database file at location; a location that is no database file
// of this computer (a server's address) is told on err and refuses the command.
int runOnDatabaseFile(const QString& location, QTextStream& err,
                      const std::function<int(const QString& databasePath)>& work);

}  // namespace commands
