#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include "app/new_password.h"
#include "store/cashier_password.h"
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
    const ProgramRun first = cashier({QStringLiteral("list")});
    EXPECT_EQ(first.status, 0) << first.err.toStdString();
    EXPECT_EQ(first.out, QStringLiteral("491MX\n"));

    const QString name = QStringLiteral("张 三'\"");
    const struct {
        QStringList arguments;
        QByteArray input;
        int status;
        QString said;
    } steps[] = {
        {{QStringLiteral("add"), name}, "密 码'\"\nsecond line\n", 0, QStringLiteral("已添加")},
        {{QStringLiteral("add"), name}, "x\n", 1, QStringLiteral("已经有名为")},
        {{QStringLiteral("add"), QStringLiteral("李四")}, "", 1, QStringLiteral("标准输入是空的")},
        {{QStringLiteral("add"), QStringLiteral("李四")}, "\n", 1, QStringLiteral("不能为空")},
        {{QStringLiteral("password"), QStringLiteral("491mx")},
         "x\n",
         1,
         QStringLiteral("没有名为")},
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
    EXPECT_TRUE(store::passwordOpens(storedPassword(quotedName), QStringLiteral("密 码'\"")));

    const ProgramRun changed = cashier({QStringLiteral("password"), name}, "新 密码\r\n");
    EXPECT_EQ(changed.status, 0) << changed.err.toStdString();
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
}

TEST(CashierCommandUsage, IsAUsageErrorThatTouchesNoDatabase) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("billing.sqlite"));
    const QStringList wrongs[] = {
        {},
        {QStringLiteral("add")},
        {QStringLiteral("list"), QStringLiteral("x")},
        {QStringLiteral("remove"), QStringLiteral("a"), QStringLiteral("b")},
        {QStringLiteral("delete"), QStringLiteral("a")}};
    for (const QStringList& wrong : wrongs) {
        const ProgramRun run = runProgram(
            QStringList{QStringLiteral("--database"), path, QStringLiteral("cashier")} + wrong, {},
            folder.path());
        EXPECT_EQ(run.status, 2) << wrong.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("cashier --help"))) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path));
    const ProgramRun help =
        runProgram({QStringLiteral("cashier"), QStringLiteral("--help")}, {}, folder.path());
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("制表符和“（明文密码）”")));
}

TEST(NewPasswordAtATerminal, IsTypedTwiceAndRefusedWhenTheEntriesDifferOrInputEnds) {
    const struct {
        QStringList lines;
        std::optional<QString> password;
        QString refusal;
    } cases[] = {
        {{QStringLiteral("秘 密"), QStringLiteral("秘 密")}, QStringLiteral("秘 密"), {}},
        {{QStringLiteral("秘 密"), QStringLiteral("秘密")},
         {},
         QStringLiteral("两次输入的新密码不一样。")},
        {{QStringLiteral("秘 密")}, {}, QStringLiteral("没有输入新密码。")},
        {{}, {}, QStringLiteral("没有输入新密码。")},
    };
    for (const auto& terminal : cases) {
        QStringList typed = terminal.lines;
        const app::PasswordInput input{true, [&typed]() -> std::optional<QString> {
                                           if (typed.isEmpty()) {
                                               return std::nullopt;
                                           }
                                           return typed.takeFirst();
                                       }};
        QString prompts;
        QTextStream stream(&prompts);
        QString refusal;
        EXPECT_EQ(app::readNewPassword(input, QStringLiteral("张三"), stream, &refusal),
                  terminal.password);
        EXPECT_EQ(refusal, terminal.refusal);
        EXPECT_TRUE(prompts.startsWith(QStringLiteral("收费员“张三”的新密码：")))
            << prompts.toStdString();
    }
}

}  // namespace
