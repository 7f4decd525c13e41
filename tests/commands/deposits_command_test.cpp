#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "register/spreadsheet_rows.h"
#include "store/deposit_ledger.h"
#include "store/store_fixture.h"

namespace {

using common::yuan;

struct CommandRun {
    int status;  // -1 when the program crashed
    QByteArray out;
    QString err;
};

// inpatient-billing deposits as the IT staff's scripts run it, on a machine without a display.
class DepositsCommand : public store_test::StoreTest {
protected:
    void SetUp() override {
        store_test::StoreTest::SetUp();
        take(QStringLiteral("700"), yuan(500), {});
        const store::Deposit paidBack = take(QStringLiteral("7001"), yuan(200), {});
        ASSERT_EQ(store::refundDeposit(database(), paidBack, QStringLiteral("491MX"),
                                       QStringLiteral("现金"), QStringLiteral("转院"))
                      .outcome,
                  store::DepositOutcome::Done);
        take(QStringLiteral("800"), common::Money::fromFen(30'050), QDate(2026, 3, 5));
        take(QStringLiteral("800"), yuan(100), QDate(2026, 3, 6));
    }

    store::Deposit take(const QString& number, common::Money amount, const QDate& paidOn) {
        const store::DepositResult taken = store::takeDeposit(
            database(), {number, QStringLiteral("病人") + number, amount, QStringLiteral("现金"),
                         QStringLiteral("491MX"), paidOn});
        EXPECT_EQ(taken.outcome, store::DepositOutcome::Done) << taken.error.toStdString();
        return taken.deposit;
    }

    CommandRun deposits(const QStringList& arguments) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settings.path());
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(PROGRAM_PATH),
                      QStringList{QStringLiteral("--database"), databaseLocation(),
                                  QStringLiteral("deposits")} +
                          arguments);
        EXPECT_TRUE(program.waitForFinished(60000));
        return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
                program.readAllStandardOutput(), QString::fromUtf8(program.readAllStandardError())};
    }

    // What Python's csv module reads of what the command wrote to standard output.
    QList<QStringList> csvRows(const QByteArray& written) {
        QFile file(settings.filePath(QStringLiteral("out.csv")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(written);
        file.close();
        return spreadsheetRows(file.fileName());
    }

    static int column(QStringView name) { return store::depositSchema().indexOf(name); }

    QTemporaryDir settings;
};

TEST_P(DepositsCommand, ListsWhatTheFiltersFindTheLatestFirst) {
    // Deposits 1 (700) and 2 (7001, paid back) were taken today; 3 and 4 (800) entered
    // afterwards as paid on 5 and 6 March.
    struct Case {
        QStringList arguments;
        const char* numbers;  // 预交号 in the order listed
    };
    const auto arguments = [](const char* text) {
        return QString::fromUtf8(text).split(u' ', Qt::SkipEmptyParts);
    };
    const std::vector<Case> cases{
        {{}, "2 1 4 3"},
        {arguments("--number 700"), "2 1"},
        {arguments("--number 70%"), ""},
        {arguments("--open"), "1 4 3"},
        {arguments("--from 2026-03-06 --to 2026-03-06"), "4"},
        {arguments("--from 2026-03-05 --to 2026-03-06"), "4 3"},
        {arguments("--number 800 --open --to 2026-03-05"), "3"},
    };
    for (const Case& listed : cases) {
        SCOPED_TRACE(listed.arguments.join(u' ').toStdString());
        const CommandRun run = deposits(listed.arguments);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        QList<QStringList> rows = csvRows(run.out);
        ASSERT_FALSE(rows.isEmpty());
        EXPECT_EQ(rows.takeFirst().value(column(store::kDepositStateField)),
                  QStringLiteral("状态"));
        QStringList numbers;
        for (const QStringList& row : rows) {
            numbers.append(row.value(column(store::kDepositNumberField)));
        }
        EXPECT_EQ(numbers.join(u' '), QString::fromUtf8(listed.numbers));
    }

    const CommandRun all = deposits({});
    const QList<QStringList> rows = csvRows(all.out);
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows[1][column(store::kDepositStateField)], QStringLiteral("已退"));
    EXPECT_EQ(rows[1][column(store::kReturnReasonField)], QStringLiteral("转院"));
    EXPECT_EQ(rows[4][column(store::kDepositAmountField)], QStringLiteral("300.50"));
    EXPECT_EQ(rows[4][column(store::kEventTimeField)], QStringLiteral("2026-03-05"));
    EXPECT_EQ(rows[4][column(store::kEnteredLaterField)], QStringLiteral("1"));

    const QString workbook = settings.filePath(QStringLiteral("预交.xlsx"));
    const CommandRun written = deposits(
        {QStringLiteral("--number"), QStringLiteral("800"), QStringLiteral("--output"), workbook});
    ASSERT_EQ(written.status, 0) << written.err.toStdString();
    EXPECT_TRUE(written.out.isEmpty());
    EXPECT_EQ(spreadsheetRows(workbook),
              csvRows(deposits({QStringLiteral("--number"), QStringLiteral("800")}).out));
}

TEST_P(DepositsCommand, RefusalsAndWrongUsageWriteNothing) {
    const QString blocked = settings.filePath(QStringLiteral("不是文件夹"));
    QFile blocker(blocked);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    struct Case {
        QStringList arguments;
        int status;
        const char* reason;
    };
    const std::vector<Case> cases{
        {{QStringLiteral("--from"), QStringLiteral("2026-02-30")}, 1, "2026-02-30"},
        {{QStringLiteral("--from"), QStringLiteral("2026-03-02"), QStringLiteral("--to"),
          QStringLiteral("2026-03-01")},
         1,
         "--from"},
        {{QStringLiteral("--output"), blocked + QStringLiteral("/预交.csv")}, 1, "不是文件夹"},
        {{QStringLiteral("--output"), settings.filePath(QStringLiteral("预交.txt"))}, 1, ".xlsx"},
        {{QStringLiteral("--open"), QStringLiteral("yes")}, 2, "yes"},
        {{QStringLiteral("--cashier"), QStringLiteral("王")}, 2, "--cashier"},
        {{QStringLiteral("--number")}, 2, "--number"},
    };
    for (const Case& refused : cases) {
        SCOPED_TRACE(refused.arguments.join(u' ').toStdString());
        const CommandRun run = deposits(refused.arguments);
        EXPECT_EQ(run.status, refused.status);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(refused.reason))) << run.err.toStdString();
    }
    EXPECT_EQ(QDir(settings.path()).entryList(QDir::Files).join(u' '),
              QStringLiteral("不是文件夹"));

    const CommandRun help = deposits({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--number", "--open", "--from", "--to", "--output", "开头"}) {
        EXPECT_TRUE(QString::fromUtf8(help.out).contains(QString::fromUtf8(option))) << option;
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, DepositsCommand,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

}  // namespace
