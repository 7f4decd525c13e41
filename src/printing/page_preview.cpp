#include "printing/page_preview.h"

#include <QPainter>
#include <utility>

namespace printing {

namespace {

constexpr double kTenthsOfMillimetrePerInch = 254.0;
constexpr double kMetresPerInch = 0.0254;

int pixels(int tenthsOfMillimetre) {
    return qRound(tenthsOfMillimetre * PagePreview::kDotsPerInch / kTenthsOfMillimetrePerInch);
}

}  // namespace

PagePreview::PagePreview(platform::PageContent page, QWidget* parent)
    : QWidget(parent), m_page(std::move(page)) {
    setFixedSize(sizeHint());
}

void PagePreview::setPage(platform::PageContent page) {
    m_page = std::move(page);
    update();
}

void PagePreview::setOffset(QPoint offset) {
    m_offset = offset;
    update();
}

void PagePreview::setForm(const platform::FormPicture& form) {
    m_form = form;
    if (!form.image.isNull()) {
        m_form.image = form.image.scaled(pixels(form.area.width()), pixels(form.area.height()),
                                         Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    update();
}

QSize PagePreview::sizeHint() const {
    return {pixels(platform::kA4Page.width()), pixels(platform::kA4Page.height())};
}

void PagePreview::paintEvent(QPaintEvent*) {
    // The page is painted as on paper, at the preview's resolution, by the printer's own code.
    QImage paper(size(), QImage::Format_RGB32);
    // A device states whole dots per inch; these dots per metre give exactly kDotsPerInch.
    const int dotsPerMetre = qRound(PagePreview::kDotsPerInch / kMetresPerInch);
    paper.setDotsPerMeterX(dotsPerMetre);
    paper.setDotsPerMeterY(dotsPerMetre);
    paper.fill(Qt::white);
    platform::paintPage(paper, m_page, m_offset, m_form);

    QPainter painter(this);
    painter.drawImage(0, 0, paper);
    painter.setPen(Qt::gray);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace printing
