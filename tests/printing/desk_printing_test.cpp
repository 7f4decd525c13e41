#include <gtest/gtest.h>

#include <QDateTime>
#include <algorithm>

#include "platform/page_painter.h"
#include "platform/qt_printer.h"
#include "printing/receipt_layout.h"
#include "printing/sample_receipt.h"
#include "printing/test_page.h"
#include "support/fixed_clock.h"
#include "support/qt_printers.h"
#include "support/recording_paint_device.h"
#include "support/recording_printer.h"

namespace {

using support::RecordingPaintDevice;
constexpr double kDots = RecordingPaintDevice::kDotsPerTenthOfMillimetre;
// Text is placed in 64ths of a dot.
constexpr double kTextPrecision = 1.0 / 32;

TEST(DeskPrinting, TheOffsetMovesEveryItemOnThePrintersPageAndNothingInTheCopy) {
    const QPoint offset(12, -8);
    const QRect formArea(30, -20, 2000, 2900);
    QImage form(40, 60, QImage::Format_RGB32);
    form.fill(Qt::red);
    FixedClock clock(QDateTime(QDate(2008, 3, 9), QTime(14, 30, 5)));
    platform::QtPrinter printer(QString(), clock, {QString(), offset, {form, formArea}});

    const printing::SampleReceipt receipt;
    support::RecordingPrinter layout;
    printing::placeReceipt(layout, receipt.reader(), {});
    const auto placed = layout.placedTexts();
    printer.startJob(QStringLiteral("1"));
    printing::placeReceipt(printer, receipt.reader(), {});
    RecordingPaintDevice printerPage;
    RecordingPaintDevice copyPage;
    ASSERT_TRUE(printer.paintPrinterPage(printerPage));
    ASSERT_TRUE(printer.paintCopyPage(copyPage));

    ASSERT_EQ(placed.size(), 49u);
    ASSERT_EQ(printerPage.texts().size(), placed.size());
    ASSERT_EQ(copyPage.texts().size(), placed.size());
    // Every text of the copy stands on its layout position; the baseline lies one ascent below
    // the position, the same for all.
    const double ascent = copyPage.texts()[0].baseline.y() - placed[0].y * kDots;
    for (size_t item = 0; item < placed.size(); ++item) {
        const auto& onCopy = copyPage.texts()[item];
        const auto& onPrinter = printerPage.texts()[item];
        SCOPED_TRACE(placed[item].text.toStdString());
        EXPECT_EQ(onCopy.text, placed[item].text);
        EXPECT_EQ(onPrinter.text, placed[item].text);
        EXPECT_NEAR(onCopy.baseline.x(), placed[item].x * kDots, kTextPrecision);
        EXPECT_NEAR(onCopy.baseline.y(), placed[item].y * kDots + ascent, kTextPrecision);
        EXPECT_NEAR(onPrinter.baseline.x() - onCopy.baseline.x(), offset.x() * kDots,
                    kTextPrecision);
        EXPECT_NEAR(onPrinter.baseline.y() - onCopy.baseline.y(), offset.y() * kDots,
                    kTextPrecision);
    }

    // The paper in the printer is the form; only the copy carries its picture, once, in place.
    EXPECT_TRUE(printerPage.images().empty());
    ASSERT_EQ(copyPage.images().size(), 1u);
    EXPECT_EQ(copyPage.images()[0], QRectF(30 * kDots, -20 * kDots, 2000 * kDots, 2900 * kDots));
}

// Without the form's picture the copy names its values: each caption the billing window gives it,
// just left of the value on the same line. The printer's paper has its captions: its page is the
// 49 items and nothing else.
TEST(DeskPrinting, ACopyWithoutTheFormsPictureCarriesCaptionsThePrintersPageDoesNot) {
    FixedClock clock(QDateTime(QDate(2008, 3, 9), QTime(14, 30, 5)));
    platform::QtPrinter printer(QString(), clock, {});
    printer.startJob(QStringLiteral("1"));
    printing::placeReceipt(printer, printing::SampleReceipt().reader(), {});
    RecordingPaintDevice printerPage;
    RecordingPaintDevice copyPage;
    ASSERT_TRUE(printer.paintPrinterPage(printerPage));
    ASSERT_TRUE(printer.paintCopyPage(copyPage));

    ASSERT_EQ(printerPage.texts().size(), 49u);
    const auto& copied = copyPage.texts();
    for (size_t item = 0; item < printerPage.texts().size(); ++item) {
        EXPECT_EQ(copied[item].text, printerPage.texts()[item].text);
    }
    // 19 fees less the three the form captions itself, 姓名, 住院号 and five amount lines.
    ASSERT_EQ(copied.size(), 49u + 16u + 2u + 5u);
    const struct {
        const char16_t* caption;
        QPoint value;
    } captions[] = {{u"住院号", {375, 10}},  {u"姓名", {375, 70}},    {u"床位费", {375, 190}},
                    {u"诊金", {375, 247}},   {u"手术费", {675, 365}}, {u"ＣＴ", {675, 247}},
                    {u"中成药", {975, 305}}, {u"其他", {1275, 190}},  {u"特服费", {1555, 247}},
                    {u"合计", {1475, 423}},  {u"预收", {1475, 480}},  {u"补收", {395, 540}},
                    {u"退款", {855, 540}},   {u"欠费", {1305, 540}}};
    const double baselineBelowTop = copied[0].baseline.y() - 10 * kDots;
    for (const auto& expected : captions) {
        const QString caption = QString::fromUtf16(expected.caption);
        SCOPED_TRACE(caption.toStdString());
        const auto found = std::find_if(copied.begin() + 49, copied.end(),
                                        [&](const auto& text) { return text.text == caption; });
        ASSERT_NE(found, copied.end());
        EXPECT_NEAR(found->baseline.y(), expected.value.y() * kDots + baselineBelowTop,
                    kTextPrecision);
        const double gap = expected.value.x() * kDots - found->baseline.x();
        EXPECT_GT(gap, platform::textAdvance(caption) * kDots);
        EXPECT_LT(gap, (platform::textAdvance(caption) + 40) * kDots);
    }
}

// The ticks (at most 4 mm long) that hang from a horizontal line at height y, left to right.
std::vector<double> ticksBelow(const std::vector<QLineF>& lines, double y) {
    std::vector<double> ticks;
    for (const QLineF& line : lines) {
        if (line.x1() == line.x2() && qAbs(line.y1() - y) < 1e-6 && line.y2() > y &&
            line.y2() - y <= 40 * kDots + 1e-6) {
            ticks.push_back(line.x1());
        }
    }
    std::sort(ticks.begin(), ticks.end());
    return ticks;
}

TEST(TestPage, PutsItsCrossesAndMillimetreRulerWhereTheyShouldBeMovedByTheOffset) {
    for (const QPoint offset : {QPoint(0, 0), QPoint(-35, 20)}) {
        SCOPED_TRACE(offset.x());
        RecordingPaintDevice page;
        ASSERT_TRUE(platform::paintPage(page, printing::testPage(offset), offset));
        const auto at = [&](QPoint position) {
            return QPointF((position.x() + offset.x()) * kDots,
                           (position.y() + offset.y()) * kDots);
        };

        // Each cross: a horizontal and a vertical stroke that meet at its centre.
        for (const QPoint cross : printing::kTestPageCrosses) {
            const QPointF centre = at(cross);
            const auto crossesAt = [&](const QLineF& line) {
                return (line.x1() == line.x2() && qAbs(line.x1() - centre.x()) < 1e-6 &&
                        line.y1() < centre.y() && line.y2() > centre.y()) ||
                       (line.y1() == line.y2() && qAbs(line.y1() - centre.y()) < 1e-6 &&
                        line.x1() < centre.x() && line.x2() > centre.x());
            };
            EXPECT_GE(std::count_if(page.lines().begin(), page.lines().end(), crossesAt), 2)
                << cross.x() << ',' << cross.y();
        }

        // The top ruler: a tick every millimetre from the left cross to the right one.
        const QPointF left = at(printing::kTestPageCrosses[0]);
        const std::vector<double> ticks = ticksBelow(page.lines(), left.y());
        ASSERT_EQ(ticks.size(), 171u);
        for (size_t tick = 0; tick < ticks.size(); ++tick) {
            EXPECT_NEAR(ticks[tick], left.x() + 10 * kDots * static_cast<double>(tick), 1e-6);
        }

        // The page names the offset it was printed with.
        const auto& texts = page.texts();
        EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const auto& run) {
            return run.text.contains(
                QStringLiteral("水平偏移 %1、垂直偏移 %2").arg(offset.x()).arg(offset.y()));
        }));
    }
}

}  // namespace
