#pragma once

#include <QPoint>
#include <QString>
#include <array>

#include "platform/page_painter.h"
#include "printing/print_settings.h"

namespace printing {

// The centres of the test page's four crosses, in tenths of a millimetre from the paper's
// top-left corner. A millimetre ruler joins the two top crosses and the two left ones.
inline constexpr std::array<QPoint, 4> kTestPageCrosses{QPoint{200, 200}, QPoint{1900, 200},
                                                        QPoint{200, 1000}, QPoint{1900, 1000}};

// The calibration page: the crosses and rulers, each labelled with its distance from the paper's
// edges, and how to turn what a desk measures into new offsets. offset is the one the page is
// printed with; the page states it, so that the second try starts from it.
platform::PageContent testPage(QPoint offset);

// Prints the test page on the settings' printer with their offset. False, with the reason in the
// user's words in *problem, when it did not reach the printer.
bool printTestPage(const PrintSettings& settings, QString* problem);

// Writes the test page as the printer would get it, offset included, as a PDF file at a path that
// names no file or a PDF document (platform::writePdfFile).
bool writeTestPagePdf(const PrintSettings& settings, const QString& path, QString* problem);

}  // namespace printing
