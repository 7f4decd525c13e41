#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "register/generated_receipts.h"
#include "register/spreadsheet_rows.h"
#include "store/receipt_void.h"
#include "store/store_fixture.h"
#include "support/qt_printers.h"

namespace {

struct CommandRun {
    int status;  // -1 when the program crashed
    QByteArray out;
    QString err;
};

// inpatient-billing receipts as the IT staff's scripts run it, on the generated receipts and on a
// machine without a display.
class ReceiptsCommand : public GeneratedReceipts {
protected:
    CommandRun receipts(const QStringList& arguments) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settings.path());
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(PROGRAM_PATH),
                      QStringList{QStringLiteral("--database"), databaseLocation(),
                                  QStringLiteral("receipts")} +
                          arguments);
        EXPECT_TRUE(program.waitForFinished(60000));
        return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
                program.readAllStandardOutput(), QString::fromUtf8(program.readAllStandardError())};
    }

    static QStringList argumentsOf(const store::ReceiptFilter& filter) {
        QStringList arguments;
        const auto add = [&arguments](const char* option, const QString& value) {
            if (!value.isEmpty()) {
                arguments << QString::fromLatin1(option) << value;
            }
        };
        add("--number", filter.numberPrefix);
        add("--name", filter.namePart);
        add("--from", filter.firstDischarge.toString(Qt::ISODate));
        add("--to", filter.lastDischarge.toString(Qt::ISODate));
        add("--cashier", filter.cashier);
        return arguments;
    }

    // What Python's csv module reads of what the command wrote to standard output.
    QList<QStringList> csvRows(const QByteArray& written) {
        QFile file(settings.filePath(QStringLiteral("out.csv")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(written);
        file.close();
        return spreadsheetRows(file.fileName());
    }

    QList<QStringList> expectedRows(const store::ReceiptFilter& filter) {
        QList<QStringList> rows;
        for (const Walked& receipt : expected(filter)) {
            rows.append(exportedRow(receipt));
        }
        rows.append(exportedSumsRow(expected(filter)));
        return rows;
    }

    QTemporaryDir settings;
};

TEST_P(ReceiptsCommand, ListsWhatTheRegisterFindsAsCsvOrXlsx) {
    // The window goes through every case; the command through one of each kind.
    std::vector<FilterCase> cases;
    for (const FilterCase& filterCase : filterCases(firstDay(), lastDay())) {
        for (const char* kind :
             {"every date", "number prefix", "percent in a number", "underscore in a number",
              "backslash in a name", "case of a cashier", "one day with a time of day",
              "all together", "nothing"}) {
            if (qstrcmp(filterCase.label, kind) == 0) {
                cases.push_back(filterCase);
            }
        }
    }
    cases.push_back({"no filters at all", {}});
    cases.push_back({"a name part without dates", {{}, QStringLiteral("%"), {}, {}, {}, false}});
    for (const FilterCase& filterCase : cases) {
        SCOPED_TRACE(filterCase.label);
        const CommandRun run = receipts(argumentsOf(filterCase.filter));
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.startsWith("\xEF\xBB\xBF"));
        QList<QStringList> rows = csvRows(run.out);
        ASSERT_FALSE(rows.isEmpty());
        EXPECT_EQ(rows.takeFirst().size(), store::kReceiptFieldCount + 2);
        EXPECT_EQ(rows, expectedRows(filterCase.filter));
    }

    const store::ReceiptFilter month{{}, {}, QDate(2026, 2, 1), QDate(2026, 2, 28), {}, false};
    const QString xlsx = settings.filePath(QStringLiteral("二月.xlsx"));
    const CommandRun written = receipts(argumentsOf(month) << QStringLiteral("--output") << xlsx);
    ASSERT_EQ(written.status, 0) << written.err.toStdString();
    EXPECT_TRUE(written.out.isEmpty());
    QList<QStringList> rows = spreadsheetRows(xlsx);
    ASSERT_FALSE(rows.isEmpty());
    rows.removeFirst();
    EXPECT_EQ(rows, expectedRows(month));
}

// A refusal writes nothing anywhere and says why on standard error.
TEST_P(ReceiptsCommand, RefusalsAndWrongUsageWriteNothing) {
    const QString blocked = settings.filePath(QStringLiteral("不是文件夹"));
    QFile blocker(blocked);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString unwritable = blocked + QStringLiteral("/收据.csv");
    struct Case {
        QStringList arguments;
        int status;
        const char* reason;
    };
    const std::vector<Case> cases{
        {{QStringLiteral("--from"), QStringLiteral("2026-02-30")}, 1, "2026-02-30"},
        {{QStringLiteral("--to"), QStringLiteral("2026-3-1")}, 1, "YYYY-MM-DD"},
        {{QStringLiteral("--from"), QStringLiteral("2026-03-02"), QStringLiteral("--to"),
          QStringLiteral("2026-03-01")},
         1,
         "--from"},
        {{QStringLiteral("--cashier"), QStringLiteral("WANG")}, 1, "WANG"},
        {{QStringLiteral("--output"), unwritable}, 1, "不是文件夹"},
        {{QStringLiteral("--output"), settings.filePath(QStringLiteral("收据.txt"))}, 1, ".xlsx"},
        {{QStringLiteral("--bogus")}, 2, "--bogus"},
        {{QStringLiteral("extra")}, 2, "extra"},
        {{QStringLiteral("--number")}, 2, "--number"},
    };
    for (const Case& refused : cases) {
        SCOPED_TRACE(refused.arguments.join(u' ').toStdString());
        const CommandRun run = receipts(refused.arguments);
        EXPECT_EQ(run.status, refused.status);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(refused.reason))) << run.err.toStdString();
    }
    EXPECT_EQ(QDir(settings.path()).entryList(QDir::Files).join(u' '),
              QStringLiteral("不是文件夹"));

    const CommandRun help = receipts({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    for (const char* option :
         {"--number", "--name", "--from", "--to", "--cashier", "--voided", "--output"}) {
        EXPECT_TRUE(QString::fromUtf8(help.out).contains(QString::fromLatin1(option))) << option;
    }
}

// A removed cashier's receipts are still his; a name only voided receipts carry counts where
// voided receipts are listed.
TEST_P(ReceiptsCommand, ACashierNoLongerInTheTableIsKnownByHisReceipts) {
    runSql(QStringLiteral(R"(DELETE FROM "USER" WHERE "收费员" = 'wang')"));
    store::ReceiptFilter byWang;
    byWang.cashier = QStringLiteral("wang");
    const CommandRun listed = receipts(argumentsOf(byWang));
    ASSERT_EQ(listed.status, 0) << listed.err.toStdString();
    QList<QStringList> rows = csvRows(listed.out);
    ASSERT_FALSE(rows.isEmpty());
    rows.removeFirst();
    EXPECT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows, expectedRows(byWang));

    const QString gone = QStringLiteral("离职");
    QVariantList issued = store_test::receipt(QStringLiteral("LZ1"), QStringLiteral("病人"));
    issued[store::receiptSchema().indexOf(store::kCashierField)] = gone;
    ASSERT_EQ(store::saveNewReceipt(database(), issued).outcome, store::SaveOutcome::Saved);
    const std::optional<store::LoadedReceipt> shown =
        store_test::loadedReceipt(database(), QStringLiteral("LZ1"));
    ASSERT_TRUE(shown);
    ASSERT_EQ(store::voidReceipt(database(), *shown, gone, QStringLiteral("重复")).outcome,
              store::VoidOutcome::Voided);
    const CommandRun live = receipts({QStringLiteral("--cashier"), gone});
    EXPECT_EQ(live.status, 1);
    EXPECT_TRUE(live.err.contains(gone)) << live.err.toStdString();
    const CommandRun voided =
        receipts({QStringLiteral("--cashier"), gone, QStringLiteral("--voided")});
    ASSERT_EQ(voided.status, 0) << voided.err.toStdString();
    const QList<QStringList> voidedRows = csvRows(voided.out);
    ASSERT_EQ(voidedRows.size(), 3) << "the heading, the voided receipt and the sums";
    const QStringList& heading = voidedRows[0];
    EXPECT_EQ(voidedRows[1].value(heading.indexOf(QStringLiteral("状态"))), QStringLiteral("作废"));
    EXPECT_EQ(voidedRows[1].value(heading.indexOf(QStringLiteral("作废原因"))),
              QStringLiteral("重复"));
    EXPECT_NE(voidedRows[1].value(heading.indexOf(QStringLiteral("合计"))), QStringLiteral("0.00"));
    const QStringList& sums = voidedRows[2];
    EXPECT_EQ(sums.value(1), QStringLiteral("共1张（作废1张，不计入合计）"));
    for (const char* amount : {"床位费", "合计", "补收", "欠费"}) {
        EXPECT_EQ(sums.value(heading.indexOf(QString::fromUtf8(amount))), QStringLiteral("0.00"))
            << amount << ": a voided receipt took no money";
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, ReceiptsCommand,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

}  // namespace
