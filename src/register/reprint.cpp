#include "register/reprint.h"

#include "platform/services.h"
#include "store/stored_printout.h"
#include "widgets/message_boxes.h"

namespace receipt_register {

namespace {

void showError(QWidget* parent, const platform::Services& services, const QString& text) {
    services.messageBoxes.show(parent, {text, QStringLiteral("错误信息："),
                                        widgets::MessageButtons::Ok, widgets::MessageIcon::Stop});
}

}  // namespace

void reprint(QWidget* parent, store::Database& database, const platform::Services& services,
             storage::RecordId id) {
    if (services.messageBoxes.show(parent, store::blankPaperQuestion()) !=
        widgets::MessageAnswer::Ok) {
        return;
    }
    const store::StoredPrintout printout = store::reprintReceipt(database, services.printer, id);
    if (!printout.read) {
        showError(parent, services,
                  printout.error.isEmpty()
                      ? QStringLiteral("这张收据已不在收据表中，没有补打。")
                      : QStringLiteral("无法读出这张收据，没有补打。\n") + printout.error);
        return;
    }
    const platform::PrintOutcome& outcome = printout.outcome;
    if (!outcome.printed) {
        QString text = QStringLiteral("收据没有补打出来。\n") + outcome.error;
        if (!outcome.pdfPath.isEmpty()) {
            text += QStringLiteral("\n收据的 PDF 副本：") + outcome.pdfPath;
        }
        showError(parent, services, text);
    } else if (outcome.printerName.isEmpty()) {
        services.messageBoxes.show(
            parent, {QStringLiteral("没有找到打印机，补打的收据已保存为 PDF：\n") + outcome.pdfPath,
                     QStringLiteral("打印"), widgets::MessageButtons::Ok,
                     widgets::MessageIcon::Information});
    }
}

}  // namespace receipt_register
