#pragma once

#include <QImage>
#include <QLine>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringView>
#include <vector>

class QPaintDevice;

namespace platform {

// Positions and lengths on a page are in tenths of a millimetre from the top-left corner of the
// paper. A placed text's top-left corner lands on (x, y).
struct PlacedText {
    int x;
    int y;
    QString text;
};

struct PageContent {
    std::vector<PlacedText> texts;
    std::vector<QLine> lines;  // drawn 0.2 mm wide
};

// A picture of the blank form and the part of the page it covers; a null image is no picture.
struct FormPicture {
    QImage image;
    QRect area;
};

// The advance of one character at the page's type size, in tenths of a millimetre: about 3.7 mm
// for a Chinese one, half that for an ASCII one.
inline constexpr int kWideCharacterAdvance = 37;
inline constexpr int kNarrowCharacterAdvance = 19;
// About how far text reaches on a page, from those advances.
int textAdvance(QStringView text);

// The A4 page in tenths of a millimetre.
inline constexpr QRect kA4Page{0, 0, 2100, 2970};

// Paints page on device, which shows the paper from its top-left corner. Every text and line is
// moved by offset; the form picture, which stands for the paper, stays where it is and lies under
// them. False when the device cannot be painted on.
bool paintPage(QPaintDevice& device, const PageContent& page, QPoint offset = {},
               const FormPicture& form = {});
// The same for pages one after another; a device that has no further pages (no
// QPagedPaintDevice) takes only the first.
bool paintPages(QPaintDevice& device, const std::vector<PageContent>& pages, QPoint offset = {},
                const FormPicture& form = {});

}  // namespace platform
