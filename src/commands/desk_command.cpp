#include "commands/desk_command.h"

#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>

#include "commands/command_opening.h"
#include "receipt/payment_methods.h"
#include "settings/desk_config.h"

namespace commands {

namespace {

struct Options {
    QCommandLineOption methods{
        QStringLiteral("payment-methods"),
        QStringLiteral("收费时可选的付款方式，用逗号分开（例如 现金,银行卡,微信,支付宝）；"
                       "现金总在其中，没写时加在最前面"),
        QStringLiteral("LIST")};
    QCommandLineOption cashFloat{QStringLiteral("cash-float"),
                                 QStringLiteral("每班开始时钱箱里的备用金，交班时算在应有现金里"),
                                 QStringLiteral("AMOUNT")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("显示本说明")};
};

QString helpText(const Options& options) {
    QString text = QStringLiteral(
        "用法：inpatient-billing desk [选项]\n"
        "设置本机收款用的付款方式和备用金，保存在设置文件里。\n"
        "不带选项时显示使用中的设置，每行一项（与设置文件的写法相同）；改了设置后也显示。\n\n"
        "选项：\n");
    for (const QCommandLineOption* option : {&options.methods, &options.cashFloat, &options.help}) {
        QString name = QStringLiteral("--") + option->names().constLast();
        if (!option->valueName().isEmpty()) {
            name += u' ' + option->valueName();
        }
        text += QStringLiteral("  %1  %2\n").arg(name.leftJustified(22), option->description());
    }
    text += QStringLiteral(
        "\n退出状态：0 成功；1 被拒绝（值不能用或设置文件写不了，设置没有改变）；"
        "2 用法错误。\n");
    return text;
}

QString usageProblem(const QCommandLineParser& parser, bool parsed, const QStringList& arguments) {
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().first();
        return QStringLiteral("desk 没有选项“%1%2”。")
            .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
    }
    if (!parser.positionalArguments().isEmpty()) {
        return QStringLiteral("多余的参数“%1”。").arg(parser.positionalArguments().first());
    }
    if (!parsed) {
        // The parser's own reasons are English: a value missing after the last option.
        return QStringLiteral("选项“%1”的写法不对：缺少值。")
            .arg(arguments.isEmpty() ? QString() : arguments.last());
    }
    return {};
}

// The settings with the options' values; nothing, the reason told on err, when one is unusable.
std::optional<settings::CashSettings> changedSettings(settings::CashSettings cash,
                                                      const QCommandLineParser& parser,
                                                      const Options& options, QTextStream& err) {
    for (const QCommandLineOption* option : {&options.methods, &options.cashFloat}) {
        if (!parser.isSet(*option)) {
            continue;
        }
        QString problem;
        if (!settings::applyCashSetting(cash, {option->names().first(), parser.value(*option)},
                                        &problem)) {
            err << problem << QStringLiteral("设置没有改变。") << '\n';
            return std::nullopt;
        }
    }
    return cash;
}

}  // namespace

int runDeskCommand(const QStringList& arguments, const QString& configPath, QTextStream& out,
                   QTextStream& err) {
    QCommandLineParser parser;
    const Options options;
    parser.addOptions({options.methods, options.cashFloat, options.help});
    const bool parsed =
        parser.parse(QStringList{QStringLiteral("inpatient-billing desk")} + arguments);
    const QString problem = usageProblem(parser, parsed, arguments);
    if (!problem.isEmpty()) {
        err << problem << usageHint(u"desk") << '\n';
        return kUsageError;
    }
    if (parser.isSet(options.help)) {
        out << helpText(options);
        return kSucceeded;
    }
    const settings::DeskConfig config = settings::readDeskConfig(configPath);
    for (const QString& warning : config.warnings) {
        err << warning << '\n';
    }
    const std::optional<settings::CashSettings> cash =
        changedSettings(config.cash, parser, options, err);
    if (!cash) {
        return kRefused;
    }
    if (parser.isSet(options.methods) || parser.isSet(options.cashFloat)) {
        QString error;
        if (!settings::writeCashSettings(configPath, *cash, &error)) {
            err << error << '\n';
            return kRefused;
        }
        bool cashAdded = false;
        if (parser.isSet(options.methods) &&
            receipt::parsePaymentMethods(parser.value(options.methods), &error, &cashAdded) &&
            cashAdded) {
            err << QStringLiteral("现金总是可选的付款方式，已加在最前面。") << '\n';
        }
        err << QStringLiteral("收款设置已保存到“%1”。").arg(QDir::toNativeSeparators(configPath))
            << '\n';
    }
    for (const printing::SettingEntry& entry : settings::cashSettingEntries(*cash)) {
        out << entry.key << '=' << entry.value << '\n';
    }
    return kSucceeded;
}

}  // namespace commands
