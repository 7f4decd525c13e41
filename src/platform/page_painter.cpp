#include "platform/page_painter.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

#include "platform/page_font.h"

namespace platform {

namespace {

constexpr double kTenthsOfMillimetrePerInch = 254.0;
constexpr double kLineWidth = 2.0;

void drawPage(QPainter& painter, QPaintDevice& device, const PageContent& page, QPoint offset,
              const FormPicture& form) {
    const double dotsPerUnitX = device.logicalDpiX() / kTenthsOfMillimetrePerInch;
    const double dotsPerUnitY = device.logicalDpiY() / kTenthsOfMillimetrePerInch;
    const auto toDevice = [&](double x, double y) {
        return QPointF((x + offset.x()) * dotsPerUnitX, (y + offset.y()) * dotsPerUnitY);
    };

    if (!form.image.isNull()) {
        const QRectF area(form.area.x() * dotsPerUnitX, form.area.y() * dotsPerUnitY,
                          form.area.width() * dotsPerUnitX, form.area.height() * dotsPerUnitY);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(area, form.image);
    }

    painter.setPen(QPen(Qt::black, kLineWidth * dotsPerUnitX, Qt::SolidLine, Qt::FlatCap));
    for (const QLine& line : page.lines) {
        painter.drawLine(toDevice(line.x1(), line.y1()), toDevice(line.x2(), line.y2()));
    }

    painter.setFont(pageFont());
    const double ascent = QFontMetricsF(painter.font(), &device).ascent();
    for (const PlacedText& placed : page.texts) {
        // drawText puts the baseline on the point; the text's top belongs on the position.
        painter.drawText(toDevice(placed.x, placed.y) + QPointF(0, ascent), placed.text);
    }
}

}  // namespace

int textAdvance(QStringView text) {
    int advance = 0;
    for (const QChar character : text) {
        advance += character.unicode() < 0x80 ? kNarrowCharacterAdvance : kWideCharacterAdvance;
    }
    return advance;
}

bool paintPage(QPaintDevice& device, const PageContent& page, QPoint offset,
               const FormPicture& form) {
    return paintPages(device, {page}, offset, form);
}

bool paintPages(QPaintDevice& device, const std::vector<PageContent>& pages, QPoint offset,
                const FormPicture& form) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    auto* paged = dynamic_cast<QPagedPaintDevice*>(&device);
    for (std::size_t page = 0; page < pages.size(); ++page) {
        if (page > 0 && paged == nullptr) {
            break;
        }
        if (page > 0 && !paged->newPage()) {
            painter.end();
            return false;
        }
        drawPage(painter, device, pages[page], offset, form);
    }
    return painter.end();
}

}  // namespace platform
