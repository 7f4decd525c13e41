#pragma once

#include <QString>
#include <vector>

#include "platform/page_painter.h"
#include "platform/printer.h"

namespace printing {

// How far a text placed on plain paper reaches, in tenths of a millimetre: at 10.5 pt about
// 3.7 mm a Chinese character, half of it an ASCII one.
int plainTextWidth(const QString& text);

// Prints pages as one job on plain A4 paper through the printer (its PDF copy named
// documentName); what became of the job.
platform::PrintOutcome printPlainPages(platform::Printer& printer, const QString& documentName,
                                       const std::vector<platform::PageContent>& pages);

}  // namespace printing
