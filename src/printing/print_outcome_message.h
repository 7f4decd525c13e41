#pragma once

#include <QString>
#include <optional>

#include "platform/printer.h"
#include "widgets/message_boxes.h"

namespace printing {

// How a printed document is named in what the cashier is told of its printing.
struct PrintedDocument {
    QString notPrinted;  // the first line when it did not reach a printer
    QString copyOf;      // whose PDF copy it is: "…的 PDF 副本"
    QString savedAs;  // what went to a PDF with no printer: "没有找到打印机，…已保存为 PDF"
};

// What the cashier is told once a document has gone to the printer: an error when it did not
// reach one, a note when there was no printer and the PDF copy is the output; none otherwise.
std::optional<widgets::Message> printOutcomeMessage(const platform::PrintOutcome& outcome,
                                                    const PrintedDocument& document);

}  // namespace printing
