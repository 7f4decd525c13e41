#pragma once

#include <QString>
#include <vector>

#include "platform/page_painter.h"

class QWidget;

namespace platform {
struct Services;
}

namespace shift {

// Prints a report's pages as one job on plain paper through the desk's printer, its PDF copy
// kept in the receipts folder, and tells the cashier in a message box when it did not reach a
// printer or went only to the PDF copy. what names the report in those messages (交班报表).
void printReport(const platform::Services& services, QWidget* parent, const QString& what,
                 const QString& documentName, const std::vector<platform::PageContent>& pages);

// Writes a report's pages as a PDF file titled title, at a path that names no file or a PDF
// document (platform::writePdfFile). False with the reason in *error.
bool writeReportPdf(const QString& path, const QString& title,
                    const std::vector<platform::PageContent>& pages, QString* error);

}  // namespace shift
