#pragma once

#include <QImage>
#include <QRect>
#include <QString>

namespace printing {

// Reads the picture of a blank form: a PNG or JPEG file, or a PDF of one page (a scan), which is
// rendered. The picture comes back without transparency (white where it was transparent), so
// that a PDF copy carries it as one image. A null image, and the reason in the user's words in
// *problem, when the file is missing, unreadable or not such a picture.
QImage readFormPicture(const QString& path, QString* problem);

// The picture reduced to what the area (tenths of a millimetre) shows at 150 dots per inch,
// which reads well on screen and on paper and keeps every copy that carries it small.
QImage fitFormPicture(const QImage& picture, QRect area);

}  // namespace printing
