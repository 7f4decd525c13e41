#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>

class QIODevice;

// What the commands that list records (receipts, deposits) share: their options' help, their
// usage errors, a range of days and an output file.
namespace commands {

// The options, one a line: "  --from DATE        出院日期不早于 DATE".
QString optionLines(const QList<const QCommandLineOption*>& options);

// Why the parsed arguments are no use of the command; empty when they are.
QString listingUsageProblem(QStringView command, const QCommandLineParser& parser, bool parsed,
                            const QStringList& arguments);

// The days that --from and --to give, both included; a day left out stays null. False, with the
// reason in *problem, for a day not written YYYY-MM-DD or a range that ends before it begins.
bool readDayRange(const QCommandLineParser& parser, const QCommandLineOption& from,
                  const QCommandLineOption& to, QDate* first, QDate* last, QString* problem);

// Writes what write produces into a temporary file, and only when it is whole copies it to out,
// so that a failure halfway leaves nothing on out. False, with the reason in *error.
bool writeWholeOrNothing(QIODevice& out, const std::function<bool(QIODevice&, QString*)>& write,
                         QString* error);

}  // namespace commands
