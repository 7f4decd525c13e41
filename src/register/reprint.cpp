#include "register/reprint.h"

#include "platform/clock.h"
#include "platform/services.h"
#include "printing/print_outcome_message.h"
#include "printing/stored_printout.h"
#include "widgets/message_boxes.h"

namespace receipt_register {

namespace {

// The usual reasons to offer; the cashier may type another or leave it empty.
const QStringList kReasons{QString(), QStringLiteral("卡纸"), QStringLiteral("打印不清"),
                           QStringLiteral("票据污损"), QStringLiteral("病人遗失")};
constexpr int kLongestReason = 40;

}  // namespace

void reprint(QWidget* parent, store::Database& database, const platform::Services& services,
             const QString& cashier, const store::ShownReceipt& shown) {
    widgets::MessageBoxes& messageBoxes = services.messageBoxes;
    QList<widgets::MessageChoice> reason{
        {QStringLiteral("补打原因（可不填）"), kReasons, 0, kLongestReason}};
    if (messageBoxes.ask(parent, printing::blankPaperQuestion(), &reason) !=
        widgets::MessageAnswer::Ok) {
        return;
    }
    const printing::StoredPrintout printout = printing::reprintReceipt(
        database, services.printer, shown, {cashier, services.clock.now(), reason.front().text},
        services.office);
    if (printout.changed) {
        messageBoxes.show(parent, widgets::errorMessage(QStringLiteral(
                                      "这张收据在列出之后已被修改或作废，没有补打。\n"
                                      "请重新查找后再补打。")));
        return;
    }
    if (!printout.read) {
        messageBoxes.show(
            parent, widgets::errorMessage(printout.error.isEmpty()
                                              ? QStringLiteral("这张收据已不在收据表中，没有补打。")
                                              : QStringLiteral("无法读出这张收据，没有补打。\n") +
                                                    printout.error));
        return;
    }
    if (const std::optional<widgets::Message> told = printing::printOutcomeMessage(
            printout.outcome, {QStringLiteral("收据没有补打出来。"), QStringLiteral("收据"),
                               QStringLiteral("补打的收据")})) {
        messageBoxes.show(parent, *told);
    }
    if (!printout.journalError.isEmpty()) {
        messageBoxes.show(
            parent, widgets::errorMessage(QStringLiteral("收据已补打，但没有记入交班记录。\n") +
                                          printout.journalError));
    }
}

}  // namespace receipt_register
