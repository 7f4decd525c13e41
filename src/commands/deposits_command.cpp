#include "commands/deposits_command.h"

#include <QCommandLineParser>
#include <QDir>
#include <QTextStream>
#include <optional>

#include "commands/command_opening.h"
#include "commands/listing_options.h"
#include "common/private_files.h"
#include "register/sheet_opening.h"
#include "store/database.h"
#include "store/deposit_search.h"

namespace commands {

namespace {

using receipt_register::ExportFormat;

// A page keeps the queries few and what it holds small.
constexpr int kPageDeposits = 2000;

struct Options {
    QCommandLineOption number{QStringLiteral("number"), QStringLiteral("住院号以 P 开头"),
                              QStringLiteral("P")};
    QCommandLineOption open{QStringLiteral("open"),
                            QStringLiteral("只列出有效的（还没有退还、也没有结算的）预交金")};
    QCommandLineOption from{QStringLiteral("from"), QStringLiteral("交款日期不早于 DATE"),
                            QStringLiteral("DATE")};
    QCommandLineOption to{QStringLiteral("to"), QStringLiteral("交款日期不晚于 DATE"),
                          QStringLiteral("DATE")};
    QCommandLineOption output{QStringLiteral("output"),
                              QStringLiteral("写入 FILE（以 .csv 或 .xlsx 结尾），不写到标准输出"),
                              QStringLiteral("FILE")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("显示本说明")};

    QList<const QCommandLineOption*> all() const {
        return {&number, &open, &from, &to, &output, &help};
    }
};

QString helpText(const Options& options) {
    return QStringLiteral(
               "用法：inpatient-billing [--database PATH|URI] deposits [选项]\n"
               "列出住院预交金，交款时间新的在前。不带选项时列出全部预交金。\n"
               "写成 CSV（UTF-8，带 BOM，RFC 4180）到标准输出，或用 --output 写入文件。\n"
               "第一行是表头：预交金的每个字段名（按表中顺序），其中“状态”是有效、已退或已结算。\n"
               "金额保留两位小数；日期写作 YYYY-MM-DD。\n\n选项：\n") +
           optionLines(options.all()) +
           QStringLiteral(
               "\n住院号按输入的原样比较开头，* ? % _ 等都只是普通字符。日期写作 YYYY-MM-DD，"
               "首尾两天都算在内。\n"
               "退出状态：0 成功；1 被拒绝（日期不对、文件写不了，或数据库出错），"
               "此时不写出任何内容；2 用法错误。\n");
}

// The filter the options ask for; none, with the reason in *problem, when one cannot be used.
std::optional<store::DepositFilter> filterOf(const QCommandLineParser& parser,
                                             const Options& options, QString* problem) {
    store::DepositFilter filter;
    filter.numberPrefix = parser.value(options.number);
    filter.openOnly = parser.isSet(options.open);
    if (!readDayRange(parser, options.from, options.to, &filter.firstDay, &filter.lastDay,
                      problem)) {
        return std::nullopt;
    }
    if (parser.isSet(options.output) &&
        !receipt_register::exportFormatOf(parser.value(options.output))) {
        *problem = QStringLiteral("--output 的文件名要以 .csv 或 .xlsx 结尾。");
        return std::nullopt;
    }
    return filter;
}

// Every deposit the filter finds, a page at a time, into output in the format; how many in
// *written. False, with the reason in *error.
bool writeDeposits(store::Database& database, const store::DepositFilter& filter,
                   ExportFormat format, QIODevice& output, qint64* written, QString* error) {
    const std::unique_ptr<receipt_register::SheetWriter> sheet =
        receipt_register::openSheet(format, output, error);
    if (!sheet) {
        return false;
    }
    const storage::TableSchema& table = store::depositSchema();
    sheet->header(receipt_register::columnNames(table));
    std::optional<storage::SearchPosition> after;
    for (;;) {
        QList<store::Deposit> page;
        if (!store::readDepositPage(database, filter, &after, kPageDeposits, &page, error)) {
            return false;
        }
        for (const store::Deposit& deposit : page) {
            receipt_register::writeRecordCells(*sheet, table, store::depositValues(deposit));
            if (!sheet->endRow(error)) {
                return false;
            }
        }
        *written += page.size();
        if (page.size() < kPageDeposits) {
            return sheet->finish(error);
        }
    }
}

// Into the file at path, which appears only whole: written under another name, then renamed.
bool writeDepositFile(store::Database& database, const store::DepositFilter& filter,
                      const QString& path, qint64* written, QString* error) {
    common::FileReplacement file(path);
    return file.open(error) &&
           writeDeposits(database, filter, *receipt_register::exportFormatOf(path), file.device(),
                         written, error) &&
           file.commit(error);
}

}  // namespace

int runDepositsCommand(const QStringList& arguments, const QString& databaseLocation,
                       QIODevice& out, QTextStream& err) {
    QCommandLineParser parser;
    const Options options;
    for (const QCommandLineOption* option : options.all()) {
        parser.addOption(*option);
    }
    const bool parsed =
        parser.parse(QStringList{QStringLiteral("inpatient-billing deposits")} + arguments);
    QString problem = listingUsageProblem(u"deposits", parser, parsed, arguments);
    if (!problem.isEmpty()) {
        err << problem << usageHint(u"deposits") << '\n';
        return kUsageError;
    }
    if (parser.isSet(options.help)) {
        out.write(helpText(options).toUtf8());
        return kSucceeded;
    }
    const std::optional<store::DepositFilter> filter = filterOf(parser, options, &problem);
    if (!filter) {
        err << problem << '\n';
        return kRefused;
    }
    const QString output = parser.value(options.output);
    return runOnPreparedDatabase(databaseLocation, err, [&](store::Database& database) -> int {
        qint64 written = 0;
        const bool done = output.isEmpty()
                              ? writeWholeOrNothing(
                                    out,
                                    [&](QIODevice& gathered, QString* error) {
                                        return writeDeposits(database, *filter, ExportFormat::Csv,
                                                             gathered, &written, error);
                                    },
                                    &problem)
                              : writeDepositFile(database, *filter, output, &written, &problem);
        if (!done) {
            err << QStringLiteral("没有写出预交金：") << problem << '\n';
            return kRefused;
        }
        if (!output.isEmpty()) {
            err << QStringLiteral("已把%1笔预交金写入“%2”。")
                       .arg(written)
                       .arg(QDir::toNativeSeparators(output))
                << '\n';
        }
        return kSucceeded;
    });
}

}  // namespace commands
