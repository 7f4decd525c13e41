#include "commands/command_opening.h"

#include "commands/database_file_argument.h"
#include "store/database.h"

namespace commands {

QString usageHint(QStringView command) {
    return QStringLiteral("用 inpatient-billing %1 --help 查看用法。").arg(command);
}

int runOnPreparedDatabase(const QString& location, QTextStream& err,
                          const std::function<int(store::Database&)>& work) {
    store::Database database(location);
    QString problem;
    if (!database.prepare(&problem)) {
        err << problem << '\n';
        return kRefused;
    }
    return work(database);
}

int runOnDatabaseFile(const QString& location, QTextStream& err,
                      const std::function<int(const QString& databasePath)>& work) {
    QString reason;
    const std::optional<QString> databasePath = databaseFileFor(location, &reason);
    if (!databasePath) {
        err << reason << '\n';
        return kRefused;
    }
    return work(*databasePath);
}

}  // namespace commands
