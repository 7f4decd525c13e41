#include "widgets/compact_label.h"

#include <QPainter>
#include <QTextLayout>

namespace widgets {

namespace {

// Where the top of an ideograph stands, as a share of the character height below the top of
// the font's ascent; a line's ideographs then fill its row.
constexpr qreal kIdeographAscent = 0.88;

}  // namespace

void CompactLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    const QFontMetricsF metrics(font());
    const qreal pitch = font().pixelSize() > 0 ? font().pixelSize() : metrics.height();
    const qreal ascentAbovePitch = metrics.ascent() - pitch * kIdeographAscent;
    const QRectF area = contentsRect();
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    QString lines = text();
    lines.remove(QLatin1Char('\r'));
    qreal top = area.top();
    for (const QString& paragraph : lines.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font());
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(area.width());
            line.setPosition(QPointF(0, top - ascentAbovePitch));
            top += pitch;
        }
        layout.endLayout();
        layout.draw(&painter, QPointF(area.left(), 0));
    }
}

}  // namespace widgets
