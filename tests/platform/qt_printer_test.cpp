#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "platform/clock.h"
#include "platform/qt_printer.h"
#include "support/pdf_text.h"
#include "support/qt_printers.h"

namespace {

class FixedClock final : public platform::Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2008, 3, 9), QTime(14, 30, 5)); }
};

QPrinterInfo noPrinter(const QString&) {
    return {};
}

class QtPrinterTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString receiptsFolder() const { return dir.filePath(QStringLiteral("receipts")); }

    QTemporaryDir dir;
    FixedClock clock;
};

constexpr double kPointsPerTenthOfMillimetre = 72.0 / 254.0;

TEST_F(QtPrinterTest, PutsATextsTopLeftCornerOnItsPositionOnAFullA4Page) {
    if (!support::pdfToTextAvailable()) {
        GTEST_SKIP() << "pdftotext is not installed";
    }
    platform::QtPrinter printer(receiptsFolder(), clock, {}, noPrinter);
    printer.startJob(QStringLiteral("1"));
    printer.setPrintSetting(9);
    printer.placeText(375, 10, QStringLiteral("住院"));
    printer.placeText(1555, 610, QStringLiteral("收费员"));
    const platform::PrintOutcome outcome = printer.endJob();
    ASSERT_TRUE(outcome.printed) << outcome.error.toStdString();

    const QString boxes = support::pdfToText(outcome.pdfPath, {QStringLiteral("-bbox")});
    EXPECT_TRUE(boxes.contains(QStringLiteral(R"(<page width="595.000000" height="842.000000">)")))
        << boxes.toStdString();
    static const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)</word>)re"));
    QStringList found;
    for (const auto& match : word.globalMatch(boxes)) {
        found << QStringLiteral("%1 %2 %3")
                     .arg(qRound(match.captured(1).toDouble() / kPointsPerTenthOfMillimetre))
                     .arg(qRound(match.captured(2).toDouble() / kPointsPerTenthOfMillimetre))
                     .arg(match.captured(3));
    }
    EXPECT_EQ(found, (QStringList{u"375 10 住院"_qs, u"1555 610 收费员"_qs}));
}

TEST_F(QtPrinterTest, NamesTheCopyAfterTheJobAndKeepsEarlierCopiesOfTheSameSecond) {
    platform::QtPrinter printer(receiptsFolder(), clock, {}, noPrinter);
    QStringList paths;
    for (int job = 0; job < 2; ++job) {
        printer.startJob(QStringLiteral(" 12/3:4 "));
        printer.placeText(375, 10, QStringLiteral("第%1张").arg(job + 1));
        paths << printer.endJob().pdfPath;
    }
    const QDir folder(receiptsFolder());
    EXPECT_EQ(paths, (QStringList{folder.filePath(u" 12_3_4 -20080309-143005.pdf"_qs),
                                  folder.filePath(u" 12_3_4 -20080309-143005-2.pdf"_qs)}));
    EXPECT_TRUE(QFileInfo(paths.value(0)).size() > 0);
    EXPECT_TRUE(QFileInfo(paths.value(1)).size() > 0);
}

TEST_F(QtPrinterTest, ReportsACopyThatCannotBeWrittenAsNotPrinted) {
    // A file where the receipts folder should be keeps the copy from being written.
    QFile blocker(receiptsFolder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    platform::QtPrinter printer(receiptsFolder(), clock, {}, noPrinter);
    printer.startJob(QStringLiteral("123"));
    printer.placeText(375, 10, QStringLiteral("123"));
    const platform::PrintOutcome outcome = printer.endJob();

    EXPECT_FALSE(outcome.printed);
    EXPECT_EQ(outcome.pdfPath, QString());
    EXPECT_TRUE(outcome.error.contains(QStringLiteral("没有找到打印机")))
        << outcome.error.toStdString();
    EXPECT_TRUE(outcome.error.contains(QDir::toNativeSeparators(receiptsFolder())));
}

}  // namespace
