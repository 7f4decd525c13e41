#include "commands/receipts_command.h"

#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>
#include <optional>

#include "commands/command_opening.h"
#include "commands/listing_options.h"
#include "register/receipt_export.h"
#include "store/cashier_admin.h"
#include "store/database.h"

namespace commands {

namespace {

using receipt_register::ExportResult;

struct Options {
    QCommandLineOption number{QStringLiteral("number"), QStringLiteral("住院号以 P 开头"),
                              QStringLiteral("P")};
    QCommandLineOption name{QStringLiteral("name"), QStringLiteral("姓名中含有 TEXT"),
                            QStringLiteral("TEXT")};
    QCommandLineOption from{QStringLiteral("from"), QStringLiteral("出院日期不早于 DATE"),
                            QStringLiteral("DATE")};
    QCommandLineOption to{QStringLiteral("to"), QStringLiteral("出院日期不晚于 DATE"),
                          QStringLiteral("DATE")};
    QCommandLineOption cashier{QStringLiteral("cashier"), QStringLiteral("收费员是 NAME"),
                               QStringLiteral("NAME")};
    QCommandLineOption voided{QStringLiteral("voided"), QStringLiteral("也列出作废的收据")};
    QCommandLineOption output{QStringLiteral("output"),
                              QStringLiteral("写入 FILE（以 .csv 或 .xlsx 结尾），不写到标准输出"),
                              QStringLiteral("FILE")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("显示本说明")};

    QList<const QCommandLineOption*> all() const {
        return {&number, &name, &from, &to, &cashier, &voided, &output, &help};
    }
};

QString helpText(const Options& options) {
    QString text = QStringLiteral(
        "用法：inpatient-billing [--database PATH|URI] receipts [选项]\n"
        "列出收据，与“查询”窗口的顺序相同（出院日期新的在前）。不带选项时列出全部收据。\n"
        "写成 CSV（UTF-8，带 BOM，RFC 4180）到标准输出，或用 --output 写入文件。\n"
        "第一行是表头：收据的每个字段名（按表中顺序，不含空着的“备用”），最后是“状态”\n"
        "（正常、已更正或作废）、“作废原因”和“付款方式”。最后一行是各金额的合计，作废的收据\n"
        "不计入。金额保留两位小数；日期写作 YYYY-MM-DD。\n\n选项：\n");
    text += optionLines(options.all());
    text += QStringLiteral(
        "\n文字按输入的原样查找，% _ \\ 等都只是普通字符。日期写作 YYYY-MM-DD，首尾两天都算在内。\n"
        "退出状态：0 成功；1 被拒绝（日期不对、没有这个收费员、文件写不了，或数据库出错），\n"
        "此时不写出任何内容；2 用法错误。\n");
    return text;
}

// The filter the options ask for; none, with the reason in *problem, when one cannot be used.
std::optional<store::ReceiptFilter> filterOf(const QCommandLineParser& parser,
                                             const Options& options, QString* problem) {
    store::ReceiptFilter filter;
    filter.numberPrefix = parser.value(options.number);
    filter.namePart = parser.value(options.name);
    filter.cashier = parser.value(options.cashier);
    filter.withVoided = parser.isSet(options.voided);
    if (!readDayRange(parser, options.from, options.to, &filter.firstDischarge,
                      &filter.lastDischarge, problem)) {
        return std::nullopt;
    }
    if (parser.isSet(options.output) &&
        !receipt_register::exportFormatOf(parser.value(options.output))) {
        *problem = QStringLiteral("--output 的文件名要以 .csv 或 .xlsx 结尾。");
        return std::nullopt;
    }
    return filter;
}

bool knownCashier(store::Database& database, const store::ReceiptFilter& filter, QString* problem) {
    const QString& cashier = filter.cashier;
    if (cashier.isEmpty()) {
        return true;
    }
    const std::optional<bool> known =
        store::isKnownCashier(database, cashier, filter.withVoided, problem);
    if (known && !*known) {
        *problem = QStringLiteral(
                       "没有名为“%1”的收费员，也没有哪张收据的收费员是这个名字（姓名要"
                       "完全一样，大小写和空格都算）。")
                       .arg(cashier);
    }
    return known.value_or(false);
}

// The CSV gathered whole in a temporary file, then copied to out.
ExportResult writeToOutput(const QString& databaseLocation, const store::ReceiptFilter& filter,
                           QIODevice& out) {
    ExportResult result;
    QString error;
    const bool written = writeWholeOrNothing(
        out,
        [&](QIODevice& gathered, QString* reason) {
            result = receipt_register::writeReceipts(
                databaseLocation, filter, receipt_register::ExportFormat::Csv, gathered, {});
            *reason = result.error;
            return result.outcome == ExportResult::Outcome::Written;
        },
        &error);
    if (!written) {
        return {ExportResult::Outcome::Failed, result.receipts, error};
    }
    return result;
}

// Writes the receipts the filter finds into the file output, or to out when output is empty.
int writeReceipts(const QString& databaseLocation, const store::ReceiptFilter& filter,
                  const QString& output, QIODevice& out, QTextStream& err) {
    const ExportResult result =
        output.isEmpty() ? writeToOutput(databaseLocation, filter, out)
                         : receipt_register::exportReceipts(databaseLocation, filter, output, {});
    if (result.outcome != ExportResult::Outcome::Written) {
        err << QStringLiteral("没有写出收据：") << result.error << '\n';
        return kRefused;
    }
    if (!output.isEmpty()) {
        err << QStringLiteral("已把%1张收据写入“%2”。")
                   .arg(result.receipts)
                   .arg(QDir::toNativeSeparators(output))
            << '\n';
    }
    return kSucceeded;
}

}  // namespace

int runReceiptsCommand(const QStringList& arguments, const QString& databaseLocation,
                       QIODevice& out, QTextStream& err) {
    QCommandLineParser parser;
    const Options options;
    for (const QCommandLineOption* option : options.all()) {
        parser.addOption(*option);
    }
    const bool parsed =
        parser.parse(QStringList{QStringLiteral("inpatient-billing receipts")} + arguments);
    QString problem = listingUsageProblem(u"receipts", parser, parsed, arguments);
    if (!problem.isEmpty()) {
        err << problem << usageHint(u"receipts") << '\n';
        return kUsageError;
    }
    if (parser.isSet(options.help)) {
        out.write(helpText(options).toUtf8());
        return kSucceeded;
    }
    const std::optional<store::ReceiptFilter> filter = filterOf(parser, options, &problem);
    if (!filter) {
        err << problem << '\n';
        return kRefused;
    }
    return runOnPreparedDatabase(databaseLocation, err, [&](store::Database& database) -> int {
        if (!knownCashier(database, *filter, &problem)) {
            err << problem << '\n';
            return kRefused;
        }
        return writeReceipts(databaseLocation, *filter, parser.value(options.output), out, err);
    });
}

}  // namespace commands
