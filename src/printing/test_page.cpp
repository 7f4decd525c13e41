#include "printing/test_page.h"

#include <QDir>
#include <QStringList>

#include "platform/page_output.h"

namespace printing {

namespace {

constexpr int kCrossArm = 60;
constexpr int kMillimetre = 10;
// Tick lengths of the rulers: every millimetre, every 5 and every 10 millimetres.
constexpr int kShortTick = 15;
constexpr int kMiddleTick = 25;
constexpr int kLongTick = 40;
constexpr int kLabelGap = 10;
// Half the width of a digit and half the height of a line of text, to centre labels on ticks.
constexpr int kHalfDigit = 9;
constexpr int kHalfLine = 20;
constexpr int kLineStep = 70;
constexpr QPoint kTitle{200, 60};
constexpr QPoint kInstructions{200, 1150};

int tickLength(int millimetres) {
    if (millimetres % 10 == 0) {
        return kLongTick;
    }
    return millimetres % 5 == 0 ? kMiddleTick : kShortTick;
}

QString millimetres(int tenths) {
    return QString::number(tenths / kMillimetre);
}

// Each cross is labelled in the corner away from the rulers.
void addCross(platform::PageContent& page, QPoint centre) {
    page.lines.emplace_back(centre.x() - kCrossArm, centre.y(), centre.x() + kCrossArm, centre.y());
    page.lines.emplace_back(centre.x(), centre.y() - kCrossArm, centre.x(), centre.y() + kCrossArm);
    const QString label =
        QStringLiteral("(%1, %2)").arg(millimetres(centre.x()), millimetres(centre.y()));
    const bool onLeft = centre.x() > platform::kA4Page.width() / 2;
    const bool below = centre.y() > kTestPageCrosses[0].y();
    page.texts.push_back({onLeft ? centre.x() - 3 * kCrossArm : centre.x() + kLabelGap,
                          below ? centre.y() + kLabelGap : centre.y() - kCrossArm, label});
}

// Ticks hang below a horizontal ruler and right of a vertical one; each 10 mm tick is labelled
// with its distance from the paper's left or top edge.
void addRuler(platform::PageContent& page, QPoint from, QPoint to) {
    page.lines.emplace_back(from, to);
    const bool horizontal = from.y() == to.y();
    const int start = horizontal ? from.x() : from.y();
    const int end = horizontal ? to.x() : to.y();
    for (int at = start; at <= end; at += kMillimetre) {
        const int length = tickLength(at / kMillimetre);
        if (horizontal) {
            page.lines.emplace_back(at, from.y(), at, from.y() + length);
        } else {
            page.lines.emplace_back(from.x(), at, from.x() + length, at);
        }
        // The crosses at both ends carry their own labels.
        if (length == kLongTick && at != start && at != end) {
            const QString label = millimetres(at);
            const QPoint labelAt = horizontal
                                       ? QPoint(at - kHalfDigit * label.size(), from.y() + length)
                                       : QPoint(from.x() + length + kLabelGap, at - kHalfLine);
            page.texts.push_back({labelAt.x(), labelAt.y(), label});
        }
    }
}

}  // namespace

platform::PageContent testPage(QPoint offset) {
    platform::PageContent page;
    page.texts.push_back({kTitle.x(), kTitle.y(), QStringLiteral("491MX 打印测试页")});
    for (const QPoint& cross : kTestPageCrosses) {
        addCross(page, cross);
    }
    const QPoint topLeft = kTestPageCrosses[0];
    const QPoint topRight = kTestPageCrosses[1];
    const QPoint bottomLeft = kTestPageCrosses[2];
    addRuler(page, topLeft, topRight);
    addRuler(page, topLeft, bottomLeft);

    const QStringList instructions{
        QStringLiteral("本页按水平偏移 %1、垂直偏移 %2（单位 0.1 毫米）打印。")
            .arg(offset.x())
            .arg(offset.y()),
        QStringLiteral("十字旁的数字是十字中心离纸张左边、上边应有的毫米数；"),
        QStringLiteral("尺上的数字是该刻度离纸张左边（或上边）应有的毫米数。"),
        QStringLiteral("用直尺量出左上角十字中心离纸张左边、上边的实际毫米数，然后："),
        QStringLiteral("新的水平偏移 = %1 - (量得离左边的毫米数 - %2) × 10")
            .arg(offset.x())
            .arg(millimetres(topLeft.x())),
        QStringLiteral("新的垂直偏移 = %1 - (量得离上边的毫米数 - %2) × 10")
            .arg(offset.y())
            .arg(millimetres(topLeft.y())),
        QStringLiteral("例如量得离上边 %1.0 毫米，垂直偏移就减去 30。")
            .arg(topLeft.y() / kMillimetre + 3),
        QStringLiteral("设置偏移：inpatient-billing print-setup --offset 水平,垂直"),
        QStringLiteral("设好后再打印一次本页核对。左右两个十字应相距 %1 毫米，")
            .arg(millimetres(topRight.x() - topLeft.x())),
        QStringLiteral("上下两个十字应相距 %1 毫米；不符时打印机在缩放页面，")
            .arg(millimetres(bottomLeft.y() - topLeft.y())),
        QStringLiteral("请在打印机设置中关掉“适合页面”之类的缩放。"),
    };
    int y = kInstructions.y();
    for (const QString& line : instructions) {
        page.texts.push_back({kInstructions.x(), y, line});
        y += kLineStep;
    }
    return page;
}

bool printTestPage(const PrintSettings& settings, QString* problem) {
    const QPrinterInfo target = platform::findPrinter(settings.printerName);
    if (target.isNull()) {
        *problem =
            (settings.printerName.isEmpty() ? QStringLiteral("没有找到打印机，测试页没有打印。")
                                            : QStringLiteral("没有找到打印机“%1”，测试页没有打印。")
                                                  .arg(settings.printerName)) +
            QStringLiteral("可以把测试页存为 PDF 文件查看。");
        return false;
    }
    const platform::PageContent page = testPage(settings.offset);
    if (!platform::printPage(target, QStringLiteral("打印测试页"), [&](QPaintDevice& device) {
            return platform::paintPage(device, page, settings.offset);
        })) {
        *problem = QStringLiteral("测试页没有送到打印机“%1”。").arg(target.printerName());
        return false;
    }
    return true;
}

bool writeTestPagePdf(const PrintSettings& settings, const QString& path, QString* problem) {
    const platform::PageContent page = testPage(settings.offset);
    const QByteArray pdf = platform::pdfPage(
        QStringLiteral("打印测试页"),
        [&](QPaintDevice& device) { return platform::paintPage(device, page, settings.offset); });
    QString writeProblem;
    if (pdf.isEmpty() || !platform::writePdfFile(path, pdf, &writeProblem)) {
        *problem = QStringLiteral("测试页没有写成 PDF 文件“%1”。%2")
                       .arg(QDir::toNativeSeparators(path), writeProblem);
        return false;
    }
    return true;
}

}  // namespace printing
