#pragma once

#include <QString>
#include <vector>

#include "platform/page_painter.h"
#include "platform/printer.h"

namespace printing {

// Prints pages as one job on plain A4 paper through the printer (its PDF copy named
// documentName); what became of the job.
platform::PrintOutcome printPlainPages(platform::Printer& printer, const QString& documentName,
                                       const std::vector<platform::PageContent>& pages);

}  // namespace printing
