#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "../store/shift_fixture.h"
#include "store/settlement.h"
#include "support/pdf_text.h"

namespace {

struct ProgramRun {
    int status;  // -1 when the program crashed
    QString out;
    QString err;
};

// The program run as the office's IT staff run it, on a machine without a display.
ProgramRun runProgram(const QStringList& arguments, const QString& configHome) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(PROGRAM_PATH), arguments);
    EXPECT_TRUE(program.waitForFinished(60000));
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromUtf8(program.readAllStandardOutput()),
            QString::fromUtf8(program.readAllStandardError())};
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ShiftCommand : public EngineTest {
protected:
    ProgramRun shift(const QStringList& arguments) {
        return runProgram(
            QStringList{QStringLiteral("--database"), databaseLocation(), QStringLiteral("shift")} +
                arguments,
            folder.path());
    }

    QTemporaryDir folder;
};

INSTANTIATE_TEST_SUITE_P(Engines, ShiftCommand,
                         ::testing::Values(EngineKind::Sqlite, EngineKind::Postgres), engineName);

TEST_P(ShiftCommand, PrintsSettlementsTheDaysSheetAndReportsAsTextOrPdf) {
    std::mt19937 random(5);
    for (const QString& number : {QStringLiteral("1"), QStringLiteral("2")}) {
        ASSERT_EQ(store::saveNewReceipt(database(), shift_test::randomReceipt(
                                                        number, QStringLiteral("491MX"), random))
                      .outcome,
                  store::SaveOutcome::Saved);
    }
    QList<store::JournalEntry> shown;
    QString error;
    ASSERT_TRUE(store::readOpenEntries(database(), QStringLiteral("491MX"), &shown, &error));
    ASSERT_EQ(store::settleShift(database(), QStringLiteral("491MX"), shown,
                                 shift_test::exactCount(shown))
                  .outcome,
              store::SettleOutcome::Settled);
    ASSERT_EQ(
        store::saveNewReceipt(database(), shift_test::randomReceipt(
                                              QStringLiteral("3"), QStringLiteral("491MX"), random))
            .outcome,
        store::SaveOutcome::Saved);
    std::optional<store::Settlement> settled;
    ASSERT_TRUE(store::readSettlement(database(), 1, &settled, &error) && settled);
    const QString today = settled->settledAt.date().toString(Qt::ISODate);
    const QString pdf = folder.filePath(QStringLiteral("交班.pdf"));
    // The database itself, or on a server another file that is no PDF, is never written over.
    const QString notAPdf = GetParam() == EngineKind::Sqlite
                                ? databaseLocation()
                                : folder.filePath(QStringLiteral("notes.txt"));
    QFile notes(folder.filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly) && notes.write("住院号") > 0);
    notes.close();
    const QByteArray notAPdfBefore = contentOf(notAPdf);
    const QString daySheetPdf = folder.filePath(QStringLiteral("日结单.pdf"));

    const struct {
        QStringList arguments;
        int status;
        const char* says;  // in the output, or in the messages when it fails
    } runs[] = {
        {{QStringLiteral("list")}, 0, "\n1\t"},
        {{QStringLiteral("list"), QStringLiteral("--date"), today}, 0, "全天合计\t\t3\t"},
        {{QStringLiteral("list"), QStringLiteral("--date"), today}, 0, "\n491MX\t未交班\t1\t"},
        {{QStringLiteral("list"), QStringLiteral("--date"), today}, 0, "有 1 个收费员未交班"},
        {{QStringLiteral("show"), QStringLiteral("1")}, 0, "结算号：1\n"},
        {{QStringLiteral("open"), QStringLiteral("491MX")}, 0, "新开：1笔\n"},
        {{QStringLiteral("show"), QStringLiteral("2")}, 1, "没有结算号为 2 的交班"},
        {{QStringLiteral("list"), QStringLiteral("--date"), QStringLiteral("2026-02-30")},
         1,
         "不是日期"},
        {{QStringLiteral("list"), QStringLiteral("--date"), today + QStringLiteral("xyz")},
         1,
         "不是日期"},
        {{QStringLiteral("list"), QStringLiteral("--date"), QString(today).replace(u'-', u'/')},
         1,
         "不是日期"},
        {{QStringLiteral("open"), QStringLiteral("491mx")}, 1, "没有名为“491mx”的收费员"},
        {{QStringLiteral("settle")}, 2, "没有“settle”这个命令"},
        {{QStringLiteral("list"), QStringLiteral("--pdf"), pdf}, 2, "须给出 --date"},
        {{QStringLiteral("show"), QStringLiteral("1"), QStringLiteral("--pdf"), notAPdf},
         1,
         "不是 PDF 文件"},
        {{QStringLiteral("show"), QStringLiteral("1"), QStringLiteral("--pdf"), pdf}, 0, "已写入"},
        {{QStringLiteral("list"), QStringLiteral("--date"), today, QStringLiteral("--pdf"),
          daySheetPdf},
         0,
         "已写入"},
    };
    for (const auto& [arguments, status, says] : runs) {
        const ProgramRun run = shift(arguments);
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        EXPECT_EQ(run.status, status) << run.err.toStdString();
        EXPECT_TRUE(
            (status == 0 && !arguments.contains(QStringLiteral("--pdf")) ? run.out : run.err)
                .contains(QString::fromUtf8(says)))
            << run.out.toStdString() << run.err.toStdString();
    }
    EXPECT_EQ(contentOf(notAPdf), notAPdfBefore);
    if (!support::pdfToTextAvailable()) {
        GTEST_SKIP() << "pdftotext is not installed";
    }
    const QString text = support::readablePdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("住院收费交班报表"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("结算号：1"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("交班人："))) << text.toStdString();
    // The printed day sheet warns of the open shift above its totals and lists it.
    const QString daySheet = support::readablePdfText(daySheetPdf);
    const qsizetype warning = daySheet.indexOf(QStringLiteral("有 1 个收费员未交班"));
    EXPECT_GE(warning, 0) << daySheet.toStdString();
    EXPECT_LT(warning, daySheet.indexOf(QStringLiteral("全天合计"))) << daySheet.toStdString();
    EXPECT_TRUE(daySheet.contains(QStringLiteral("491MX 未交班 1 "))) << daySheet.toStdString();
    EXPECT_TRUE(daySheet.contains(QStringLiteral("审核："))) << daySheet.toStdString();
}

}  // namespace
