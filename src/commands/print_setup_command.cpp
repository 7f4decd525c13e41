#include "commands/print_setup_command.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <tuple>

#include "commands/command_opening.h"
#include "platform/page_output.h"
#include "printing/form_picture.h"
#include "printing/office_name.h"
#include "printing/print_settings.h"
#include "printing/print_setup_window.h"
#include "printing/test_page.h"
#include "settings/desk_config.h"
#include "widgets/message_boxes.h"

namespace commands {

namespace {

const QString kUnchanged = QStringLiteral("设置没有改变。");

struct Options {
    QCommandLineOption printer{QStringLiteral("printer"),
                               QStringLiteral("打印收据的打印机（空名称：系统默认打印机）"),
                               QStringLiteral("NAME")};
    QCommandLineOption offset{QStringLiteral("offset"),
                              QStringLiteral("向右、向下的偏移，单位 0.1 毫米，各在 %1 到 %2 之间")
                                  .arg(-printing::kOffsetLimit)
                                  .arg(printing::kOffsetLimit),
                              QStringLiteral("X,Y")};
    QCommandLineOption form{
        QStringLiteral("form"),
        QStringLiteral("空白票据的图片（PNG、JPEG 或一页的 PDF），印在收据副本的底下"),
        QStringLiteral("FILE")};
    QCommandLineOption noForm{QStringLiteral("no-form"), QStringLiteral("不用票据图片")};
    QCommandLineOption hospital{QStringLiteral("hospital"),
                                QStringLiteral("收据和报表上印的医院名称"), QStringLiteral("NAME")};
    QCommandLineOption department{QStringLiteral("department"),
                                  QStringLiteral("收据上印的科室名称"), QStringLiteral("NAME")};
    QCommandLineOption testPage{QStringLiteral("test-page"),
                                QStringLiteral("按偏移打印测试页（十字和毫米尺）")};
    QCommandLineOption pdf{QStringLiteral("pdf"), QStringLiteral("测试页不打印，写成 PDF 文件"),
                           QStringLiteral("FILE")};
    QCommandLineOption show{QStringLiteral("show"),
                            QStringLiteral("显示使用中的设置，每行一项（与设置文件的写法相同）")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("显示本说明")};
};

QString helpText(const Options& options) {
    QString text = QStringLiteral(
        "用法：inpatient-billing [--database ...] print-setup [选项]\n"
        "设置本机打印收据用的打印机、偏移、空白票据图片和印在收据上的医院、科室名称，\n"
        "保存在设置文件里。\n"
        "不带选项时打开打印设置窗口。\n\n选项：\n");
    for (const QCommandLineOption* option :
         {&options.printer, &options.offset, &options.form, &options.noForm, &options.hospital,
          &options.department, &options.testPage, &options.pdf, &options.show, &options.help}) {
        QString name = QStringLiteral("--") + option->names().constLast();
        if (!option->valueName().isEmpty()) {
            name += u' ' + option->valueName();
        }
        text += QStringLiteral("  %1  %2\n").arg(name.leftJustified(14), option->description());
    }
    return text;
}

// The reason the arguments cannot be carried out as given, or empty.
QString usageProblem(const QCommandLineParser& parser, const Options& options) {
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().first();
        return QStringLiteral("print-setup 没有选项“%1%2”。")
            .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
    }
    if (!parser.positionalArguments().isEmpty()) {
        return QStringLiteral("多余的参数“%1”。").arg(parser.positionalArguments().first());
    }
    if (parser.isSet(options.form) && parser.isSet(options.noForm)) {
        return QStringLiteral("--form 和 --no-form 不能同时使用。");
    }
    if (parser.isSet(options.pdf) && !parser.isSet(options.testPage)) {
        return QStringLiteral("--pdf 只和 --test-page 一起使用。");
    }
    return {};
}

void reportWarnings(const settings::DeskConfig& config, const QString& configPath,
                    QTextStream& err) {
    if (config.warnings.isEmpty()) {
        return;
    }
    err << QStringLiteral("设置文件“%1”中有设置没有用上，其余设置照常使用：")
               .arg(QDir::toNativeSeparators(configPath))
        << '\n';
    for (const QString& warning : config.warnings) {
        err << "  " << warning << '\n';
    }
}

// The settings with the options' changes; nothing (the reason told on err) when one is unusable.
std::optional<printing::PrintSettings> changedSettings(printing::PrintSettings settings,
                                                       const QCommandLineParser& parser,
                                                       const Options& options, QTextStream& err) {
    QString problem;
    if (parser.isSet(options.printer)) {
        const QString name = parser.value(options.printer);
        const QStringList installed = platform::printerNames();
        if (!name.isEmpty() && !installed.contains(name)) {
            err << QStringLiteral("没有打印机“%1”。").arg(name)
                << (installed.isEmpty() ? QStringLiteral("本机没有安装打印机。")
                                        : QStringLiteral("本机的打印机：%1。")
                                              .arg(installed.join(QStringLiteral("、"))))
                << kUnchanged << '\n';
            return std::nullopt;
        }
        settings.printerName = name;
    }
    if (parser.isSet(options.offset)) {
        const auto offset = printing::parseOffsets(parser.value(options.offset), &problem);
        if (!offset) {
            err << problem << kUnchanged << '\n';
            return std::nullopt;
        }
        settings.offset = *offset;
    }
    if (parser.isSet(options.form)) {
        const QString path = QFileInfo(parser.value(options.form)).absoluteFilePath();
        if (printing::readFormPicture(path, &problem).isNull()) {
            err << problem << kUnchanged << '\n';
            return std::nullopt;
        }
        settings.formPicture = path;
    }
    if (parser.isSet(options.noForm)) {
        settings.formPicture.clear();
    }
    for (const auto& [option, which, name] :
         {std::tuple{&options.hospital, printing::OfficeName::Hospital, &settings.office.hospital},
          std::tuple{&options.department, printing::OfficeName::Department,
                     &settings.office.department}}) {
        if (!parser.isSet(*option)) {
            continue;
        }
        const auto typed = printing::parseOfficeName(parser.value(*option), which, &problem);
        if (!typed) {
            err << problem << kUnchanged << '\n';
            return std::nullopt;
        }
        *name = *typed;
    }
    return settings;
}

int openWindow(const printing::PrintSettings& settings, const QString& configPath,
               const settings::DeskConfig& config) {
    widgets::QtMessageBoxes messageBoxes;
    if (!config.warnings.isEmpty()) {
        messageBoxes.show(nullptr, {QStringLiteral("设置文件“%1”中有设置没有用上：\n")
                                            .arg(QDir::toNativeSeparators(configPath)) +
                                        config.warnings.join(u'\n'),
                                    QStringLiteral("打印设置"), widgets::MessageButtons::Ok,
                                    widgets::MessageIcon::Warning});
    }
    printing::PrintSetupServices services{
        messageBoxes, platform::printerNames(),
        [configPath](const printing::PrintSettings& changed, QString* problem) {
            return settings::writePrintSettings(configPath, changed, problem);
        },
        [](const printing::PrintSettings& current, const QString& pdfPath, QString* problem) {
            return pdfPath.isEmpty() ? printing::printTestPage(current, problem)
                                     : printing::writeTestPagePdf(current, pdfPath, problem);
        }};
    printing::PrintSetupWindow window(services, settings);
    window.exec();
    return kSucceeded;
}

}  // namespace

int runPrintSetup(const QStringList& arguments, const QString& configPath, QTextStream& out,
                  QTextStream& err) {
    QCommandLineParser parser;
    const Options options;
    parser.addOptions({options.printer, options.offset, options.form, options.noForm,
                       options.hospital, options.department, options.testPage, options.pdf,
                       options.show, options.help});
    const bool parsed =
        parser.parse(QStringList{QStringLiteral("inpatient-billing print-setup")} + arguments);
    QString problem = usageProblem(parser, options);
    if (problem.isEmpty() && !parsed) {
        // The parser's own reasons are English: a value missing after the last option, or a
        // value given to an option that takes none.
        problem = QStringLiteral("选项“%1”的写法不对：要么缺少值，要么不该带值。")
                      .arg(arguments.isEmpty() ? QString() : arguments.last());
    }
    if (!problem.isEmpty()) {
        err << problem << usageHint(u"print-setup") << '\n';
        return kUsageError;
    }
    if (parser.isSet(options.help)) {
        out << helpText(options);
        return kSucceeded;
    }

    const settings::DeskConfig config = settings::readDeskConfig(configPath);
    if (arguments.isEmpty()) {
        return openWindow(config.printing, configPath, config);
    }
    reportWarnings(config, configPath, err);

    const auto settings = changedSettings(config.printing, parser, options, err);
    if (!settings) {
        return kRefused;
    }
    const bool changing = parser.isSet(options.printer) || parser.isSet(options.offset) ||
                          parser.isSet(options.form) || parser.isSet(options.noForm) ||
                          parser.isSet(options.hospital) || parser.isSet(options.department);
    if (changing) {
        if (!settings::writePrintSettings(configPath, *settings, &problem)) {
            err << problem << '\n';
            return kRefused;
        }
        err << QStringLiteral("打印设置已保存到“%1”。").arg(QDir::toNativeSeparators(configPath))
            << '\n';
    }
    if (parser.isSet(options.testPage)) {
        const QString pdfPath = parser.value(options.pdf);
        const bool done = pdfPath.isEmpty()
                              ? printing::printTestPage(*settings, &problem)
                              : printing::writeTestPagePdf(*settings, pdfPath, &problem);
        if (!done) {
            err << problem << '\n';
            return kRefused;
        }
        err << (pdfPath.isEmpty()
                    ? QStringLiteral("测试页已送到打印机。")
                    : QStringLiteral("测试页已写入“%1”。").arg(QDir::toNativeSeparators(pdfPath)))
            << '\n';
    }
    if (parser.isSet(options.show)) {
        for (const printing::SettingEntry& entry : printing::printSettingEntries(*settings)) {
            out << entry.key << '=' << entry.value << '\n';
        }
    }
    return kSucceeded;
}

}  // namespace commands
