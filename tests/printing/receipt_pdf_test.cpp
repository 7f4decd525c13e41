#include <gtest/gtest.h>

#include <QDateTime>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include "platform/clock.h"
#include "platform/qt_printer.h"
#include "printing/desk_printing.h"
#include "printing/receipt_layout.h"
#include "printing/sample_receipt.h"
#include "support/pdf_text.h"
#include "support/qt_printers.h"

namespace {

class FixedClock final : public platform::Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2008, 3, 9), QTime(14, 30, 5)); }
};

TEST(ReceiptPdf, CarriesTheReceiptsValuesOnThePage) {
    if (!support::pdfToTextAvailable()) {
        GTEST_SKIP() << "pdftotext is not installed";
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FixedClock clock;
    // The test machine has no printer; the lookup says so on any machine, so nothing is printed.
    platform::QtPrinter printer(dir.filePath(QStringLiteral("receipts")), clock, {},
                                [](const QString&) { return QPrinterInfo(); });
    const printing::SampleReceipt receipt;

    printer.startJob(receipt.fields.value(u"住院号"_qs).toString());
    printer.setPrintSetting(9);
    printing::placeReceipt(printer, receipt.reader(), {});
    const platform::PrintOutcome outcome = printer.endJob();
    ASSERT_TRUE(outcome.printed) << outcome.error.toStdString();
    EXPECT_EQ(outcome.error, QString());

    const QString text = support::readablePdfText(outcome.pdfPath);
    QString unspaced = text;
    unspaced.remove(QRegularExpression(QStringLiteral("\\s")));
    EXPECT_TRUE(text.contains(u"2008 0315"_qs)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"欧阳 明"_qs)) << text.toStdString();
    EXPECT_TRUE(unspaced.contains(u"1234.56零零壹贰叁肆伍陆"_qs)) << text.toStdString();
    EXPECT_TRUE(unspaced.contains(u"2000零零贰零零零零零"_qs)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"青石市明泽医院"_qs)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"491MX"_qs)) << text.toStdString();
}

// An archive search finds the words: the text layer holds the ordinary characters, not the
// radicals (⽋, ⼿, ⽯) whose glyphs they share.
TEST(ReceiptPdf, TheTextLayerSpellsEveryCharacterAsItIs) {
    if (!support::pdfToTextAvailable()) {
        GTEST_SKIP() << "pdftotext is not installed";
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FixedClock clock;
    platform::QtPrinter printer(dir.filePath(QStringLiteral("receipts")), clock, {},
                                [](const QString&) { return QPrinterInfo(); });
    const QStringList words{u"欠费"_qs, u"手术费"_qs, u"青石市明泽医院"_qs, u"长短款"_qs, u"页"_qs,
                            u"走"_qs,   u"见"_qs};
    printer.startJob(QStringLiteral("1"));
    for (qsizetype line = 0; line < words.size(); ++line) {
        printer.placeText(100, 100 + 60 * static_cast<int>(line), words[line]);
    }
    const platform::PrintOutcome outcome = printer.endJob();
    ASSERT_TRUE(outcome.printed) << outcome.error.toStdString();

    const QStringList read = support::pdfToText(outcome.pdfPath, {QStringLiteral("-raw")})
                                 .split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(read.mid(0, words.size()), words);
}

// The copy reads like the paper: the form picture under the values, once, and the values where
// the layout puts them, whatever offset the desk's printer needs.
TEST(ReceiptPdf, CarriesTheFormPictureOnceUnderValuesTheOffsetDoesNotMove) {
    if (!support::pdfToTextAvailable()) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A transparent picture would bring a second image, its mask, into the PDF.
    QImage picture(300, 420, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    picture.setPixelColor(10, 10, Qt::red);
    const QString picturePath = dir.filePath(QStringLiteral("空白票据.png"));
    ASSERT_TRUE(picture.save(picturePath));
    printing::PrintSettings settings;
    settings.offset = {150, -90};
    settings.formPicture = picturePath;
    QString problem;
    const platform::DeskPrinting desk = printing::deskPrinting(settings, &problem);
    ASSERT_EQ(problem, QString());

    FixedClock clock;
    platform::QtPrinter printer(dir.filePath(QStringLiteral("receipts")), clock, desk,
                                [](const QString&) { return QPrinterInfo(); });
    printer.startJob(QStringLiteral("1"));
    printing::placeReceipt(printer, printing::SampleReceipt().reader(), {});
    const platform::PrintOutcome outcome = printer.endJob();
    ASSERT_TRUE(outcome.printed) << outcome.error.toStdString();

    EXPECT_EQ(support::pdfImages(outcome.pdfPath).size(), 1);
    // As laid out, whatever the printer's offset.
    EXPECT_EQ(support::pdfWordPosition(outcome.pdfPath, QStringLiteral("491MX")),
              QPoint(1405, 610));
}

}  // namespace
