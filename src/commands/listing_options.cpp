#include "commands/listing_options.h"

#include <QTemporaryFile>
#include <optional>

#include "common/dates.h"

namespace commands {

namespace {

// A day written YYYY-MM-DD; none, with the reason in *problem, for anything else.
std::optional<QDate> dayOf(const QString& text, const QString& option, QString* problem) {
    const std::optional<QDate> day = common::dayFromIsoText(text);
    if (!day) {
        *problem = QStringLiteral("--%1 的日期“%2”不对，要写作 YYYY-MM-DD，例如 2026-03-05。")
                       .arg(option, text);
    }
    return day;
}

}  // namespace

QString optionLines(const QList<const QCommandLineOption*>& options) {
    QString text;
    for (const QCommandLineOption* option : options) {
        QString name = QStringLiteral("--") + option->names().constLast();
        if (!option->valueName().isEmpty()) {
            name += u' ' + option->valueName();
        }
        text += QStringLiteral("  %1  %2\n").arg(name.leftJustified(16), option->description());
    }
    return text;
}

QString listingUsageProblem(QStringView command, const QCommandLineParser& parser, bool parsed,
                            const QStringList& arguments) {
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().first();
        return QStringLiteral("%1 没有选项“%2%3”。")
            .arg(command, name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
    }
    if (!parser.positionalArguments().isEmpty()) {
        return QStringLiteral("多余的参数“%1”。").arg(parser.positionalArguments().first());
    }
    if (!parsed) {
        // The parser's own reasons are English: a value missing after the last option, or a
        // value given to an option that takes none.
        return QStringLiteral("选项“%1”的写法不对：要么缺少值，要么不该带值。")
            .arg(arguments.isEmpty() ? QString() : arguments.last());
    }
    return {};
}

bool readDayRange(const QCommandLineParser& parser, const QCommandLineOption& from,
                  const QCommandLineOption& to, QDate* first, QDate* last, QString* problem) {
    for (const auto& [option, day] : {std::pair{&from, first}, std::pair{&to, last}}) {
        if (!parser.isSet(*option)) {
            continue;
        }
        const std::optional<QDate> read =
            dayOf(parser.value(*option), option->names().first(), problem);
        if (!read) {
            return false;
        }
        *day = *read;
    }
    if (!first->isNull() && !last->isNull() && *first > *last) {
        *problem = QStringLiteral("--%1 的日期在 --%2 的日期之后。")
                       .arg(from.names().first(), to.names().first());
        return false;
    }
    return true;
}

bool writeWholeOrNothing(QIODevice& out, const std::function<bool(QIODevice&, QString*)>& write,
                         QString* error) {
    QTemporaryFile gathered;
    if (!gathered.open()) {
        *error = QStringLiteral("无法建立临时文件：%1").arg(gathered.errorString());
        return false;
    }
    if (!write(gathered, error)) {
        return false;
    }
    gathered.seek(0);
    while (!gathered.atEnd()) {
        const QByteArray part = gathered.read(1 << 20);
        if (part.isEmpty() || out.write(part) != part.size()) {
            *error = QStringLiteral("无法写到标准输出：%1").arg(out.errorString());
            return false;
        }
    }
    return true;
}

}  // namespace commands
