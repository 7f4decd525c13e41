#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "about/users_guide.h"

namespace app {

CommandLine parseCommandLine(const QCoreApplication& application) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("医院（住院）计费系统\n") +
        about::usersGuideHelpLine(QCoreApplication::applicationDirPath()));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption databaseOption(
        QStringLiteral("database"),
        QStringLiteral("收据和收费员所在的数据库文件（默认：%1）").arg(defaultDatabasePath()),
        QStringLiteral("PATH"));
    parser.addOption(databaseOption);
    parser.addPositionalArgument(QStringLiteral("print-setup"),
                                 QStringLiteral("打印设置（print-setup --help 查看它的选项）"),
                                 QStringLiteral("[print-setup [选项]]"));
    // What follows a command is that command's to read.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.process(application);

    CommandLine commandLine;
    commandLine.databasePath =
        parser.isSet(databaseOption) ? parser.value(databaseOption) : defaultDatabasePath();
    commandLine.command = parser.positionalArguments();
    return commandLine;
}

QString defaultDatabasePath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("billing.sqlite"));
}

}  // namespace app
