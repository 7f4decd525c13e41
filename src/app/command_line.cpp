#include "app/command_line.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QStandardPaths>

#include "about/users_guide.h"

namespace app {

namespace {

QString defaultDatabasePath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("billing.sqlite"));
}

const QString kDatabaseOptionName = QStringLiteral("database");

// The program's options and commands, as --help shows them.
void describeProgram(QCommandLineParser& parser) {
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(
        kDatabaseOptionName,
        QStringLiteral("收据和收费员所在的数据库：数据库文件的路径，或数据库服务器地址"
                       "（postgresql://… 或 host=… dbname=…）（默认：491MX.conf 中的 database=，"
                       "否则 %1）")
            .arg(defaultDatabasePath()),
        QStringLiteral("PATH|URI")));
    parser.addPositionalArgument(QStringLiteral("print-setup"),
                                 QStringLiteral("打印设置（print-setup --help 查看它的选项）"),
                                 QStringLiteral("[print-setup [选项] |"));
    parser.addPositionalArgument(
        QStringLiteral("desk"),
        QStringLiteral("本机收款用的付款方式和备用金：显示或设置（desk --help 查看它的选项）"),
        QStringLiteral("desk [选项] |"));
    parser.addPositionalArgument(
        QStringLiteral("cashier"),
        QStringLiteral("管理收费员（cashier --help 查看说明）。list 每行列出一个姓名，密码仍以"
                       "明文保存的，姓名后加一个制表符和“（明文密码）”"),
        QStringLiteral("cashier list|add 姓名|password 姓名|remove 姓名 |"));
    parser.addPositionalArgument(
        QStringLiteral("backup"),
        QStringLiteral("把数据库文件完整地复制到目标文件或文件夹里，收费时也可以做"
                       "（backup --help 查看说明）"),
        QStringLiteral("backup 目标 |"));
    parser.addPositionalArgument(QStringLiteral("restore"),
                                 QStringLiteral("用检查过的备份换下数据库文件，原文件保留在旁边"
                                                "（restore --help 查看说明）"),
                                 QStringLiteral("restore [--yes] 备份文件 |"));
    parser.addPositionalArgument(
        QStringLiteral("receipts"),
        QStringLiteral("列出收据（CSV 到标准输出，或 --output 写入 .csv/.xlsx 文件）；"
                       "可按住院号开头、姓名、出院日期、收费员筛选（receipts --help 查看选项）"),
        QStringLiteral("receipts [选项] |"));
    parser.addPositionalArgument(
        QStringLiteral("deposits"),
        QStringLiteral("列出住院预交金（CSV 到标准输出，或 --output 写入 .csv/.xlsx 文件）；"
                       "可按住院号开头、是否有效、交款日期筛选（deposits --help 查看选项）"),
        QStringLiteral("deposits [选项] |"));
    parser.addPositionalArgument(
        QStringLiteral("shift"),
        QStringLiteral("查看交班结算（shift --help 查看说明）：全部或某一天的交班、某次交班或某个"
                       "收费员未交班记录的交班报表，文本或 A4 PDF"),
        QStringLiteral("shift list [--date 日期]|show 结算号|open 收费员 [--pdf 文件]]"));
    // What follows a command is that command's to read.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
}

// Commands that draw pages (a PDF, a test page) or read a form's picture need the fonts and images
// of a GUI application, but no display: print-setup opens its window only when given nothing.
bool drawsPages(const QStringList& command) {
    if (command.isEmpty()) {
        return false;
    }
    return command.first() == QStringLiteral("print-setup") ||
           (command.first() == QStringLiteral("shift") &&
            command.contains(QStringLiteral("--pdf")));
}

}  // namespace

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    QCommandLineParser parser;
    describeProgram(parser);
    const bool parsed = parser.parse(arguments);
    const QStringList command = parser.positionalArguments();
    const bool windows =
        parsed && !parser.isSet(QStringLiteral("help")) &&
        !parser.isSet(QStringLiteral("version")) &&
        (command.isEmpty() || command == QStringList{QStringLiteral("print-setup")});
    if (windows) {
        return std::make_unique<QApplication>(argc, argv);
    }
    if (parsed && drawsPages(command)) {
        // The pages are drawn, never shown: no display is needed, as on a console.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

CommandLine parseCommandLine(const QCoreApplication& application) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("医院（住院）计费系统\n") +
        about::usersGuideHelpLine(QCoreApplication::applicationDirPath()));
    describeProgram(parser);
    parser.process(application);

    CommandLine commandLine;
    if (parser.isSet(kDatabaseOptionName)) {
        commandLine.database = parser.value(kDatabaseOptionName);
    }
    commandLine.command = parser.positionalArguments();
    return commandLine;
}

QString chosenDatabaseLocation(const CommandLine& commandLine,
                               const std::optional<QString>& deskSetting) {
    return commandLine.database.value_or(deskSetting.value_or(defaultDatabasePath()));
}

}  // namespace app
