#pragma once

#include <QPrinterInfo>
#include <QString>
#include <functional>
#include <vector>

#include "platform/printer.h"

class QPaintDevice;

namespace platform {

class Clock;

// The program's printer. Each job's page goes to the system's default printer, and a PDF copy of
// it is kept in the receipts folder as <documentName>-<yyyyMMdd-HHmmss>.pdf; where no printer
// exists, that copy is the output.
class QtPrinter final : public Printer {
public:
    // Finds the printer a job goes to; a null QPrinterInfo means there is none.
    using PrinterLookup = std::function<QPrinterInfo()>;

    QtPrinter(QString receiptsFolder, const Clock& clock,
              PrinterLookup findPrinter = &QPrinterInfo::defaultPrinter);

    void startJob(const QString& documentName) override;
    void setPrintSetting(int value) override;
    void placeText(int x, int y, const QString& text) override;
    PrintOutcome endJob() override;

private:
    struct PlacedText {
        int x;
        int y;
        QString text;
    };

    bool paintPage(QPaintDevice& device) const;
    // The path of the written copy, or empty with the reason in *error.
    QString writePdfCopy(QString* error) const;
    bool printOn(const QPrinterInfo& target, QString* error) const;
    QString unusedPdfPath() const;

    QString m_receiptsFolder;
    const Clock& m_clock;
    PrinterLookup m_findPrinter;
    QString m_documentName;
    std::vector<PlacedText> m_texts;
};

}  // namespace platform
