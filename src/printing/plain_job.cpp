#include "printing/plain_job.h"

namespace printing {

namespace {

constexpr int kA4PaperSetting = 9;

}  // namespace

platform::PrintOutcome printPlainPages(platform::Printer& printer, const QString& documentName,
                                       const std::vector<platform::PageContent>& pages) {
    printer.startPlainJob(documentName);
    printer.setPrintSetting(kA4PaperSetting);
    for (std::size_t page = 0; page < pages.size(); ++page) {
        if (page > 0) {
            printer.newPage();
        }
        for (const QLine& line : pages[page].lines) {
            printer.placeLine(line);
        }
        for (const platform::PlacedText& placed : pages[page].texts) {
            printer.placeText(placed.x, placed.y, placed.text);
        }
    }
    return printer.endJob();
}

}  // namespace printing
