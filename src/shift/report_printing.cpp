#include "shift/report_printing.h"

#include <QDir>

#include "platform/page_output.h"
#include "platform/services.h"
#include "printing/plain_job.h"
#include "printing/print_outcome_message.h"
#include "widgets/message_boxes.h"

namespace shift {

void printReport(const platform::Services& services, QWidget* parent, const QString& what,
                 const QString& documentName, const std::vector<platform::PageContent>& pages) {
    if (const std::optional<widgets::Message> told = printing::printOutcomeMessage(
            printing::printPlainPages(services.printer, documentName, pages),
            {what + QStringLiteral("没有打印出来。"), what, what})) {
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
