#pragma once

#include <QPoint>
#include <QPrinterInfo>
#include <QString>
#include <functional>

#include "platform/page_output.h"
#include "platform/page_painter.h"
#include "platform/printer.h"

class QPaintDevice;

namespace platform {

class Clock;

// What a desk has set up for its printouts.
struct DeskPrinting {
    QString printerName;  // empty: the system's default printer
    QPoint offset;        // added to every item on the printer's page, never to the PDF copy
    FormPicture form;     // the blank form, drawn under the values of the PDF copy only
};

// The program's printer. Each job's pages go to the desk's printer, and a PDF copy of them is kept
// in the receipts folder as <documentName>-<yyyyMMdd-HHmmss>.pdf; where no printer exists, that
// copy is the output. The paper in the printer is already printed, so the form picture goes only
// into the copy of a receipt, which reads like the paper (without a picture, the copy carries the
// form's captions itself); the desk's offset corrects where that printer puts the page, so only
// the printer's page moves.
class QtPrinter final : public Printer {
public:
    // Finds the printer of that name (the default one for an empty name); null when there is none.
    using PrinterLookup = std::function<QPrinterInfo(const QString& name)>;

    QtPrinter(QString receiptsFolder, const Clock& clock, DeskPrinting desk = {},
              PrinterLookup findPrinter = &platform::findPrinter);

    void startJob(const QString& documentName) override;
    void startPlainJob(const QString& documentName) override;
    void setPrintSetting(int value) override;
    void placeText(int x, int y, const QString& text) override;
    void placeCopyText(int x, int y, const QString& text, CopyText kind) override;
    void placeLine(QLine line) override;
    void newPage() override;
    PrintOutcome endJob() override;

    // The open job's pages as endJob paints them for the printer and for the PDF copy.
    bool paintPrinterPage(QPaintDevice& device) const;
    bool paintCopyPage(QPaintDevice& device) const;

private:
    // The path of the written copy, or empty with the reason in *error.
    QString writePdfCopy(QString* error) const;
    QString unusedPdfPath() const;
    // What the job prints, in messages: 收据, or 报表 on plain paper.
    QString subject() const;

    QString m_receiptsFolder;
    const Clock& m_clock;
    DeskPrinting m_desk;
    PrinterLookup m_findPrinter;
    QString m_documentName;
    std::vector<PageContent> m_pages = {PageContent()};
    // The same pages as the PDF copy shows them, with the texts for the copy alone.
    std::vector<PageContent> m_copyPages = {PageContent()};
    bool m_onForm = true;
};

}  // namespace platform
