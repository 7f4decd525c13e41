#include "printing/print_outcome_message.h"

namespace printing {

std::optional<widgets::Message> printOutcomeMessage(const platform::PrintOutcome& outcome,
                                                    const PrintedDocument& document) {
    if (!outcome.printed) {
        QString text = document.notPrinted + u'\n' + outcome.error;
        if (!outcome.pdfPath.isEmpty()) {
            text += QStringLiteral("\n%1的 PDF 副本：%2").arg(document.copyOf, outcome.pdfPath);
        }
        return widgets::errorMessage(text);
    }
    if (outcome.printerName.isEmpty()) {
        return widgets::Message{QStringLiteral("没有找到打印机，%1已保存为 PDF：\n%2")
                                    .arg(document.savedAs, outcome.pdfPath),
                                QStringLiteral("打印"), widgets::MessageButtons::Ok,
                                widgets::MessageIcon::Information};
    }
    return std::nullopt;
}

}  // namespace printing
