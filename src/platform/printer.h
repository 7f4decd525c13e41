#pragma once

#include <QLine>
#include <QString>

namespace platform {

// What became of a print job once it ended.
struct PrintOutcome {
    bool printed = false;  // the page went to a printer (or, with no printer, to the PDF copy)
    QString printerName;   // the printer the page went to; empty when the PDF is the output
    QString pdfPath;       // the PDF copy of the page; empty if it could not be written
    QString error;         // why the page did not reach a printer, for the cashier
};

// What a text that only the copies of a page carry is.
enum class CopyText {
    Caption,  // what the paper form prints itself: on copies that show no picture of the form
    Mark,     // a note about this printout (补打 and when): on every copy
};

// One print job: a receipt is one page, a report may run to several. Positions are in tenths of a
// millimetre from the top-left corner of the paper, and a placed text's top-left corner lands on
// the position.
class Printer {
public:
    virtual ~Printer() = default;
    // documentName names the job and its PDF copy (the inpatient number of the receipt).
    virtual void startJob(const QString& documentName) = 0;
    // Starts a job on plain paper (a report): the blank form is no part of it.
    virtual void startPlainJob(const QString& documentName) = 0;
    // 9 selects A4 paper; the only setting the program changes.
    virtual void setPrintSetting(int value) = 0;
    virtual void placeText(int x, int y, const QString& text) = 0;
    // A text for the copies of the page alone (the PDF copy, a view on screen), never for the
    // printer's page.
    virtual void placeCopyText(int x, int y, const QString& text, CopyText kind) = 0;
    // A line 0.2 mm wide, for a report's rules and the lines to sign on.
    virtual void placeLine(QLine line) = 0;
    // Ends the page; what is placed next goes on a new page of the same job.
    virtual void newPage() = 0;
    virtual PrintOutcome endJob() = 0;
};

}  // namespace platform
