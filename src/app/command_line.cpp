#include "app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "about/users_guide.h"

namespace app {

namespace {

QString defaultDatabasePath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("billing.sqlite"));
}

}  // namespace

CommandLine parseCommandLine(const QCoreApplication& application) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("医院（住院）计费系统\n") +
        about::usersGuideHelpLine(QCoreApplication::applicationDirPath()));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption databaseOption(
        QStringLiteral("database"),
        QStringLiteral("收据和收费员所在的数据库：数据库文件的路径，或 postgresql:// 开头的数据库"
                       "服务器地址（默认：491MX.conf 中的 database=，否则 %1）")
            .arg(defaultDatabasePath()),
        QStringLiteral("PATH|URI"));
    parser.addOption(databaseOption);
    parser.addPositionalArgument(QStringLiteral("print-setup"),
                                 QStringLiteral("打印设置（print-setup --help 查看它的选项）"),
                                 QStringLiteral("[print-setup [选项]]"));
    // What follows a command is that command's to read.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.process(application);

    CommandLine commandLine;
    if (parser.isSet(databaseOption)) {
        commandLine.database = parser.value(databaseOption);
    }
    commandLine.command = parser.positionalArguments();
    return commandLine;
}

QString chosenDatabaseLocation(const CommandLine& commandLine,
                               const std::optional<QString>& deskSetting) {
    return commandLine.database.value_or(deskSetting.value_or(defaultDatabasePath()));
}

}  // namespace app
