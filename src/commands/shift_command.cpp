#include "commands/shift_command.h"

#include <QDate>
#include <QDir>
#include <QTextStream>
#include <optional>

#include "commands/command_opening.h"
#include "common/dates.h"
#include "shift/day_sheet.h"
#include "shift/report_pages.h"
#include "shift/report_printing.h"
#include "shift/settlement_list.h"
#include "shift/shift_report.h"
#include "store/cashier_admin.h"
#include "store/database.h"
#include "store/journal.h"
#include "store/settlement.h"

namespace commands {

namespace {

enum class Action { List, Show, Open };

struct Request {
    Action action = Action::List;
    QString argument;  // the settlement's number or the cashier
    std::optional<QString> date;
    std::optional<QString> pdf;
};

// What a command prints, or writes as a PDF.
struct Output {
    QString text;
    QString title;
    std::vector<platform::PageContent> pages;
};

QString helpText() {
    return QStringLiteral(
        "用法：inpatient-billing [--database PATH|URI] shift 命令 [--pdf 文件]\n"
        "查看交班结算。交班（结算）只能在程序的“系统 → 交班”窗口里由登录的收费员进行。\n\n"
        "命令：\n"
        "  list [--date 日期]  列出全部交班，每行一次（结算号、交班时间、收费员、电脑、笔数、\n"
        "                      合计、补收、退款、应交现金、长短款，以制表符分隔）；给出日期\n"
        "                      （YYYY-MM-DD）时只列出这一天的交班，后面再附这一天的日结单：\n"
        "                      这一天有记录的每个收费员，未交班的也在内\n"
        "  show 结算号         这次交班的交班报表\n"
        "  open 收费员         收费员还没有交班的记录（本班）的交班报表；备用金取本机设置\n\n"
        "报表以 UTF-8 文本写到标准输出，每行一项（“名称：数值”），然后每行一笔记录。\n"
        "--pdf 文件            改为把 A4 报表（list 时为日结单，须给出 --date）写成 PDF 文件。\n"
        "退出状态：0 成功，1 被拒绝（日期或结算号不对、没有这次交班、数据库或文件无法使用），"
        "2 用法错误。\n");
}

// Takes an option with its value off the arguments; false with *problem when the value is missing.
bool takeOption(QStringList& arguments, const QString& name, std::optional<QString>* value,
                QString* problem) {
    const qsizetype at = arguments.indexOf(name);
    if (at < 0) {
        return true;
    }
    if (at + 1 >= arguments.size()) {
        *problem = QStringLiteral("%1 后面要跟一个值。").arg(name);
        return false;
    }
    *value = arguments[at + 1];
    arguments.remove(at, 2);
    return true;
}

std::optional<Request> readRequest(QStringList arguments, QString* problem) {
    Request request;
    if (!takeOption(arguments, QStringLiteral("--date"), &request.date, problem) ||
        !takeOption(arguments, QStringLiteral("--pdf"), &request.pdf, problem)) {
        return std::nullopt;
    }
    const struct {
        QStringView word;
        Action action;
        QString argument;  // what follows the word; empty for none
    } actions[] = {{u"list", Action::List, {}},
                   {u"show", Action::Show, QStringLiteral("结算号")},
                   {u"open", Action::Open, QStringLiteral("收费员的姓名")}};
    if (arguments.isEmpty()) {
        *problem = QStringLiteral("shift 后面要跟 list、show 或 open。");
        return std::nullopt;
    }
    for (const auto& known : actions) {
        if (arguments.first() != known.word) {
            continue;
        }
        const qsizetype expected = known.argument.isEmpty() ? 1 : 2;
        if (arguments.size() < expected) {
            *problem = QStringLiteral("shift %1 后面要跟%2。").arg(known.word, known.argument);
        } else if (arguments.size() > expected) {
            *problem = QStringLiteral("多余的参数“%1”。").arg(arguments[expected]);
        } else if (request.date && known.action != Action::List) {
            *problem = QStringLiteral("--date 只用于 shift list。");
        } else if (request.pdf && known.action == Action::List && !request.date) {
            *problem = QStringLiteral("shift list 要写 PDF 时须给出 --date（写这一天的日结单）。");
        } else {
            request.action = known.action;
            request.argument = expected == 2 ? arguments[1] : QString();
            return request;
        }
        return std::nullopt;
    }
    *problem = QStringLiteral("shift 没有“%1”这个命令。").arg(arguments.first());
    return std::nullopt;
}

bool listSettlements(store::Database& database, const Request& request,
                     const common::OfficeNames& office, Output* output, QString* error) {
    store::SettlementFilter filter;
    if (request.date) {
        const std::optional<QDate> day = common::dayFromIsoText(*request.date);
        if (!day) {
            *error = QStringLiteral("“%1”不是日期，日期的格式是 YYYY-MM-DD。").arg(*request.date);
            return false;
        }
        filter.firstDay = filter.lastDay = *day;
    }
    QList<store::Settlement> settlements;
    QList<store::JournalEntry> dayRows;
    if (!store::readSettlements(database, filter, &settlements, error) ||
        (request.date && !store::readDayEntries(database, filter.firstDay, &dayRows, error))) {
        return false;
    }
    output->text = shift::settlementListText(settlements);
    if (request.date) {
        const shift::DaySheet sheet = shift::makeDaySheet(filter.firstDay, dayRows, settlements);
        output->text += u'\n' + shift::daySheetText(sheet);
        output->title = shift::kDaySheetTitle;
        output->pages = shift::daySheetPages(sheet, office);
    }
    return true;
}

bool showSettlement(store::Database& database, const QString& numberText,
                    const common::OfficeNames& office, Output* output, QString* error) {
    bool isNumber = false;
    const qint64 number = numberText.toLongLong(&isNumber);
    std::optional<store::Settlement> settlement;
    QList<store::JournalEntry> entries;
    if (!isNumber || number <= 0) {
        *error = QStringLiteral("结算号“%1”不是正整数。").arg(numberText);
        return false;
    }
    if (!store::readSettlement(database, number, &settlement, error) ||
        !store::readSettledEntries(database, number, &entries, error)) {
        return false;
    }
    if (!settlement) {
        *error = QStringLiteral("没有结算号为 %1 的交班。").arg(number);
        return false;
    }
    const shift::ShiftReport report = shift::settlementReport(*settlement, entries);
    *output = {shift::reportText(report), shift::kReportTitle,
               shift::shiftReportPages(report, office)};
    return true;
}

// Whether cashier is one of the cashiers or has settled shifts; a name that is neither would
// read as a shift with nothing to hand over.
bool isKnownName(store::Database& database, const QString& cashier, QString* error) {
    const std::optional<bool> isCashier = store::hasCashier(database, cashier, error);
    if (!isCashier || *isCashier) {
        return isCashier.has_value();
    }
    QList<store::Settlement> settlements;
    if (!store::readSettlements(database, {cashier, {}, {}}, &settlements, error)) {
        return false;
    }
    if (settlements.isEmpty()) {
        *error = QStringLiteral(
                     "没有名为“%1”的收费员，交班记录中也没有这个姓名（姓名要与收费员表中的完全"
                     "一样，大小写和空格都算）。")
                     .arg(cashier);
    }
    return !settlements.isEmpty();
}

bool showOpenShift(store::Database& database, const QString& cashier, const ShiftDesk& desk,
                   Output* output, QString* error) {
    const common::OfficeNames& office = desk.office;
    QList<store::JournalEntry> entries;
    if (!store::readOpenEntries(database, cashier, &entries, error) ||
        (entries.isEmpty() && !isKnownName(database, cashier, error))) {
        return false;
    }
    const shift::ShiftReport report = shift::openShiftReport(cashier, entries, desk.cashFloat);
    *output = {shift::reportText(report), shift::kReportTitle,
               shift::shiftReportPages(report, office)};
    return true;
}

// Reads what the request asks for and writes it: as text to out, or as a PDF.
int report(store::Database& database, const Request& request, const ShiftDesk& desk,
           QTextStream& out, QTextStream& err) {
    Output output;
    QString problem;
    bool found = false;
    switch (request.action) {
        case Action::List:
            found = listSettlements(database, request, desk.office, &output, &problem);
            break;
        case Action::Show:
            found = showSettlement(database, request.argument, desk.office, &output, &problem);
            break;
        case Action::Open:
            found = showOpenShift(database, request.argument, desk, &output, &problem);
            break;
    }
    if (!found) {
        err << problem << '\n';
        return kRefused;
    }
    if (!request.pdf) {
        out << output.text;
        return kSucceeded;
    }
    if (!shift::writeReportPdf(*request.pdf, output.title, output.pages, &problem)) {
        err << problem << '\n';
        return kRefused;
    }
    err << QStringLiteral("已写入“%1”。").arg(QDir::toNativeSeparators(*request.pdf)) << '\n';
    return kSucceeded;
}

}  // namespace

int runShiftCommand(const QStringList& arguments, const QString& databaseLocation,
                    const ShiftDesk& desk, QTextStream& out, QTextStream& err) {
    const auto onDatabase = [&](const Request& request) {
        return runOnPreparedDatabase(databaseLocation, err, [&](store::Database& database) {
            return report(database, request, desk, out, err);
        });
    };
    return runCommand<Request>(u"shift", helpText(), arguments, readRequest, out, err, onDatabase);
}

}  // namespace commands
