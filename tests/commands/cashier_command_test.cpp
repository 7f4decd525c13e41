#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include "commands/new_password.h"
#include "store/cashier_password.h"
#include "store/database.h"
#include "store/receipt_record.h"
#include "store/receipt_saving.h"
#include "support/scratch_database.h"

namespace {

struct ProgramRun {
    int status;  // -1 when the program crashed
    QString out;
    QString err;
};

// The program run as the office's IT staff run it, with its settings in configHome, on a machine
// without a display: a QApplication would end it at once.
ProgramRun runProgram(const QStringList& arguments, const QByteArray& input,
                      const QString& configHome) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PROGRAM_PATH), arguments);
    program.write(input);
    program.closeWriteChannel();
    EXPECT_TRUE(program.waitForFinished(60000));
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromUtf8(program.readAllStandardOutput()),
            QString::fromUtf8(program.readAllStandardError())};
}

class CashierCommand : public ::testing::TestWithParam<EngineKind> {
protected:
    ProgramRun cashier(const QStringList& arguments, const QByteArray& input = {}) {
        return runProgram(QStringList{QStringLiteral("--database"), scratch.location(),
                                      QStringLiteral("cashier")} +
                              arguments,
                          input, settings.path());
    }
    QString storedPassword(const QString& quotedName) {
        return scratch
            .runSql(QStringLiteral(R"(SELECT "密码" FROM "USER" WHERE "收费员" = '%1')")
                        .arg(quotedName))
            .value(0)
            .value(0);
    }

    ScratchDatabase scratch{GetParam()};  // nothing in it yet
    QTemporaryDir settings;
};

INSTANTIATE_TEST_SUITE_P(Engines, CashierCommand,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

TEST_P(CashierCommand, ChangesTheTableOrRefusesWithItsExitStatus) {
    for (const QStringList& wrong :
         QList<QStringList>{{},
                            {QStringLiteral("add")},
                            {QStringLiteral("list"), QStringLiteral("x")},
                            {QStringLiteral("delete"), QStringLiteral("a")}}) {
        const ProgramRun run = cashier(wrong);
        EXPECT_EQ(run.status, 2) << wrong.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("cashier --help"))) << run.err.toStdString();
    }
    if (GetParam() == EngineKind::Sqlite) {
        EXPECT_FALSE(QFile::exists(scratch.location())) << "a usage error touches no database";
    }
    EXPECT_TRUE(cashier({QStringLiteral("--help")}).out.contains(QStringLiteral("（明文密码）")));

    const ProgramRun first = cashier({QStringLiteral("list")});
    EXPECT_EQ(first.status, 0) << first.err.toStdString();
    EXPECT_EQ(first.out, QStringLiteral("491MX\n"));

    const QString name = QStringLiteral("张 三'\"");
    const QString password = QStringLiteral("密 码'\"");
    const struct {
        QStringList arguments;
        QByteArray input;
        int status;
        QString said;
    } steps[] = {
        {{QStringLiteral("add"), name},
         password.toUtf8() + "\nline 2\n",
         0,
         QStringLiteral("已添加")},
        {{QStringLiteral("add"), name}, "x\n", 1, QStringLiteral("已经有名为")},
        {{QStringLiteral("add"), QStringLiteral("李四")}, "", 1, QStringLiteral("标准输入是空的")},
        {{QStringLiteral("add"), QStringLiteral("李四")}, "\n", 1, QStringLiteral("不能为空")},
        {{QStringLiteral("remove"), name + u' '}, "", 1, QStringLiteral("没有名为")},
        {{QStringLiteral("remove"), QStringLiteral("491MX")}, "", 0, QStringLiteral("已删除")},
        {{QStringLiteral("remove"), name}, "", 1, QStringLiteral("不能删除")},
    };
    for (const auto& step : steps) {
        const ProgramRun run = cashier(step.arguments, step.input);
        EXPECT_EQ(run.status, step.status) << step.arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(step.said)) << run.err.toStdString();
    }
    const QString quotedName = QStringLiteral("张 三''\"");
    EXPECT_TRUE(store::passwordOpens(storedPassword(quotedName), password));
    QFile file(scratch.location());
    if (GetParam() == EngineKind::Sqlite && file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.contains(name.toUtf8()));
        EXPECT_FALSE(bytes.contains(password.toUtf8())) << "no plain password in the file";
        EXPECT_FALSE(bytes.contains(QByteArray::fromRawData(
            reinterpret_cast<const char*>(password.utf16()), password.size() * 2)));
    }

    EXPECT_EQ(cashier({QStringLiteral("password"), name}, "新 密码\r\n").status, 0);
    EXPECT_TRUE(store::passwordOpens(storedPassword(quotedName), QStringLiteral("新 密码")));

    // Without --database, the desk settings name the database.
    scratch.runSql(QStringLiteral(R"(INSERT INTO "USER" ("收费员", "密码") VALUES ('老张', '1'))"));
    ASSERT_TRUE(QDir(settings.path()).mkpath(QStringLiteral("491MX")));
    QFile config(settings.filePath(QStringLiteral("491MX/491MX.conf")));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write("database=" + scratch.location().toUtf8() + '\n');
    config.close();
    const ProgramRun listed =
        runProgram({QStringLiteral("cashier"), QStringLiteral("list")}, {}, settings.path());
    EXPECT_EQ(listed.out, name + QStringLiteral("\n老张\t（明文密码）\n"));

    // 老张 has taken 150 and paid 29.50 back since his last settlement.
    receipt::ReceiptState state;
    state.bedFee = state.totalAmount = common::yuan(120.5);
    state.supplementAmount = common::yuan(150);
    state.refundAmount = common::yuan(29.5);
    state.currentCashier = QStringLiteral("老张");
    const QDateTime day(QDate(2026, 3, 10), QTime(0, 0));
    store::Database desk(scratch.location());
    ASSERT_EQ(store::saveNewReceipt(
                  desk, store::receiptRecordValues(QStringLiteral("1"), QStringLiteral("病人"), day,
                                                   day, state))
                  .outcome,
              store::SaveOutcome::Saved);
    const ProgramRun removal = cashier({QStringLiteral("remove"), QStringLiteral("老张")});
    EXPECT_EQ(removal.status, 1);
    for (const QString& said : {QStringLiteral("1笔"), QStringLiteral("应交现金 120.5 元"),
                                QStringLiteral("交班"), QStringLiteral("cashier password")}) {
        EXPECT_TRUE(removal.err.contains(said)) << removal.err.toStdString();
    }
}

// A terminal where the lines were typed; none once they are used up.
commands::PasswordInput terminalTyping(QStringList* lines) {
    return {true, [lines]() -> std::optional<QString> {
                return lines->isEmpty() ? std::nullopt : std::optional(lines->takeFirst());
            }};
}

TEST(NewPasswordAtATerminal, IsTypedTwiceAndRefusedWhenTheEntriesDifferOrInputEnds) {
    const QString typed = QStringLiteral("秘 密");
    const QString differ = QStringLiteral("两次输入的新密码不一样。");
    const QString ended = QStringLiteral("没有输入新密码。");
    const std::tuple<QStringList, std::optional<QString>, QString> cases[] = {
        {{typed, typed}, typed, {}},
        {{typed, QStringLiteral("秘密")}, {}, differ},
        {{typed}, {}, ended},
    };
    for (auto [lines, password, expectedRefusal] : cases) {
        QString prompts;
        QTextStream stream(&prompts);
        QString refusal;
        EXPECT_EQ(commands::readNewPassword(terminalTyping(&lines), QStringLiteral("张三"), stream,
                                            &refusal),
                  password);
        EXPECT_EQ(refusal, expectedRefusal);
        EXPECT_TRUE(prompts.startsWith(QStringLiteral("收费员“张三”的新密码：")))
            << prompts.toStdString();
    }
}

}  // namespace
