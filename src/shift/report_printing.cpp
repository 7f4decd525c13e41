#include "shift/report_printing.h"

#include <QDir>

#include "platform/page_output.h"
#include "platform/printer.h"
#include "platform/services.h"
#include "printing/print_outcome_message.h"
#include "widgets/message_boxes.h"

namespace shift {

namespace {

constexpr int kA4PaperSetting = 9;

}  // namespace

void printReport(const platform::Services& services, QWidget* parent, const QString& what,
                 const QString& documentName, const std::vector<platform::PageContent>& pages) {
    platform::Printer& printer = services.printer;
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
    if (const std::optional<widgets::Message> told = printing::printOutcomeMessage(
            printer.endJob(), {what + QStringLiteral("没有打印出来。"), what, what})) {
        services.messageBoxes.show(parent, *told);
    }
}

bool writeReportPdf(const QString& path, const QString& title,
                    const std::vector<platform::PageContent>& pages, QString* error) {
    const QByteArray pdf = platform::pdfPage(
        title, [&](QPaintDevice& device) { return platform::paintPages(device, pages); });
    QString problem;
    if (pdf.isEmpty() || !platform::writePdfFile(path, pdf, &problem)) {
        *error = QStringLiteral("无法写成 PDF 文件“%1”。%2")
                     .arg(QDir::toNativeSeparators(path), problem);
        return false;
    }
    return true;
}

}  // namespace shift
