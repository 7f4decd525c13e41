#include <gtest/gtest.h>

#include <QFile>

#include "support/pdf_text.h"
#include "support/qt_printers.h"
#include "support/settings_command.h"

namespace {

class PrintSetupCommandTest : public SettingsCommandTest {
protected:
    Run printSetup(const QStringList& arguments) {
        return runCommand(QStringLiteral("print-setup"), arguments);
    }
};

TEST_F(PrintSetupCommandTest, KeepsTheOffsetForTheNextRunBesideTheDatabaseSetting) {
    const Run help = printSetup({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0) << help.err.toStdString();
    EXPECT_TRUE(help.out.contains(QStringLiteral("--offset"))) << help.out.toStdString();

    writeConfig("database=/srv/billing.sqlite\n");
    const Run set = printSetup({QStringLiteral("--offset"), QStringLiteral("12,-8")});
    EXPECT_EQ(set.status, 0) << set.err.toStdString();

    const Run show = printSetup({QStringLiteral("--show")});
    EXPECT_EQ(show.status, 0) << show.err.toStdString();
    EXPECT_EQ(show.out, QStringLiteral("printer=\noffset=12,-8\nform=\nform-area=0,0,2100,2970\n"
                                       "hospital=青石市明泽医院\ndepartment=手外科\n"));
    EXPECT_TRUE(config().startsWith("database=/srv/billing.sqlite\n")) << config().toStdString();
}

TEST_F(PrintSetupCommandTest, RefusesUnusableValuesAndKeepsThePreviousSettings) {
    const QByteArray before = "offset=5,5\nform=\n";
    const QString pdf = dir.filePath(QStringLiteral("测试页.pdf"));
    const struct {
        QStringList arguments;
        int status;
        const char16_t* says;
    } cases[] = {
        {{u"--offset"_qs, u"abc"_qs}, 1, u"偏移“abc”应为两个整数"},
        {{u"--offset"_qs, u"12,201"_qs}, 1, u"垂直偏移 201 超出范围"},
        {{u"--offset"_qs, u"-201,0"_qs, u"--test-page"_qs, u"--pdf"_qs, pdf}, 1, u"超出范围"},
        {{u"--form"_qs, dir.filePath(u"没有.png"_qs)}, 1, u"不存在"},
        {{u"--printer"_qs, u"没有这台"_qs}, 1, u"没有打印机“没有这台”"},
        {{u"--bogus"_qs}, 2, u"没有选项“--bogus”"},
        {{u"--pdf"_qs, pdf}, 2, u"--pdf 只和 --test-page 一起使用"},
        {{u"--form"_qs, pdf, u"--no-form"_qs}, 2, u"不能同时使用"},
        {{u"--hospital"_qs, u"  "_qs}, 1, u"医院名称不能为空"},
        {{u"--department"_qs, u"手外科\n二病区"_qs}, 1, u"科室名称不能含换行"},
        {{u"--offset"_qs, u"1,1"_qs, u"--hospital"_qs, QString(26, u'院')},
         1,
         u"最多印得下 25 个汉字"},
    };
    for (const auto& refused : cases) {
        SCOPED_TRACE(refused.arguments.join(u' ').toStdString());
        writeConfig(before);
        const Run run = printSetup(refused.arguments);
        EXPECT_EQ(run.status, refused.status);
        EXPECT_TRUE(run.err.contains(QString::fromUtf16(refused.says))) << run.err.toStdString();
        EXPECT_EQ(config(), before);
        EXPECT_FALSE(QFile::exists(pdf));
    }
}

TEST_F(PrintSetupCommandTest, KeepsTheOfficeNamesWithTheOtherSettings) {
    writeConfig("database=/srv/billing.sqlite\noffset=5,5\n");
    const Run set = printSetup({QStringLiteral("--hospital"), QStringLiteral(" 江北县人民医院 "),
                                QStringLiteral("--department"), QStringLiteral("骨科")});
    EXPECT_EQ(set.status, 0) << set.err.toStdString();
    EXPECT_EQ(config(),
              "database=/srv/billing.sqlite\noffset=5,5\nprinter=\nform=\nform-area=0,0,2100,2970\n"
              "hospital=江北县人民医院\ndepartment=骨科\n");
}

TEST_F(PrintSetupCommandTest, NamesTheNonsenseOfAHandEditedFileAndUsesTheRest) {
    writeConfig("offset=3,4\nform-area=1,2\nprinter=\nfont size=12\n");
    const Run run = printSetup({QStringLiteral("--show")});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.contains(QStringLiteral("第2行“form-area=1,2”已忽略")))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("第4行“font size=…”已忽略")))
        << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("printer=\noffset=3,4\nform=\nform-area=0,0,2100,2970\n"
                                      "hospital=青石市明泽医院\ndepartment=手外科\n"));
}

TEST_F(PrintSetupCommandTest, WritesTheTestPageWithTheOffsetAsPdf) {
    if (!support::pdfToTextAvailable()) {
        GTEST_SKIP() << "pdftotext is not installed";
    }
    const QString pdf = dir.filePath(QStringLiteral("测试页.pdf"));
    const Run run = printSetup({QStringLiteral("--offset"), QStringLiteral("50,-30"),
                                QStringLiteral("--test-page"), QStringLiteral("--pdf"), pdf});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    // The title stands at (200, 60); the offset moves it by 5 mm right and 3 mm up.
    EXPECT_EQ(support::pdfWordPosition(pdf, QStringLiteral("491MX")), QPoint(250, 30));
}

}  // namespace
