#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include "platform/page_painter.h"

namespace printing {

// A page shown as it comes out of the printer onto the form: the form picture, and over it the
// page's content moved by the offset. The whole A4 page is shown at a fixed scale, so that a
// millimetre of offset can be seen; put it in a scroll area.
class PagePreview : public QWidget {
public:
    // About 4 pixels a millimetre.
    static constexpr int kDotsPerInch = 102;

    explicit PagePreview(platform::PageContent page, QWidget* parent = nullptr);

    void setPage(platform::PageContent page);
    void setOffset(QPoint offset);
    void setForm(const platform::FormPicture& form);

    QPoint offset() const { return m_offset; }
    bool showsForm() const { return !m_form.image.isNull(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    platform::PageContent m_page;
    QPoint m_offset;
    // The picture already at the preview's scale, so that typing stays quick.
    platform::FormPicture m_form;
};

}  // namespace printing
