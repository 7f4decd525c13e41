#include "billing/print_command.h"

#include <algorithm>

#include "billing/deposit_deduction.h"
#include "billing/main_window.h"
#include "billing/receipt_modification.h"
#include "common/number_text.h"
#include "platform/services.h"
#include "printing/print_outcome_message.h"
#include "printing/stored_printout.h"
#include "receipt/payment_methods.h"
#include "store/database.h"
#include "store/journal.h"
#include "store/receipt_record.h"
#include "store/receipt_saving.h"
#include "store/receipt_validation.h"
#include "store/schema.h"
#include "store/table.h"
#include "widgets/message_boxes.h"

namespace billing {

namespace {

// Said as the cashier commands say it: what may have happened, and where to look.
QString uncertainSaveMessage(bool correcting, const QString& inpatientNumber,
                             const QString& error) {
    return (correcting ? QStringLiteral("这次修改") : QStringLiteral("收据")) +
           QStringLiteral(
               "可能已经保存，也可能没有；没有打印。\n请用“系统 → 修改”调出住院号“%1”"
               "查看。\n")
               .arg(inpatientNumber) +
           error;
}

// An amount that changes hands at this print, and where its method goes.
struct HandedAmount {
    QString caption;
    common::Money amount;
    QString* method;
};

QString handedCaption(QStringView name, common::Money amount, bool correcting) {
    if (!correcting) {
        return QStringLiteral("%1 %2 元").arg(name, common::numberToText(amount));
    }
    return QStringLiteral("%1更正 %2%3 元")
        .arg(name, amount.isNegative() ? QString() : QStringLiteral("+"),
             common::numberToText(amount));
}

}  // namespace

// A refusal of a number already stored, with who issued that receipt and when, as its journal
// row says; a receipt from before the journal names its cashier alone, when known.
QString PrintCommand::withIssue(const QString& refusal, const QString& issuer) const {
    if (const std::optional<store::JournalEntry> issue =
            store::latestIssue(m_database, m_window.inpatientNumber())) {
        return refusal +
               QStringLiteral("\n这个住院号的收据由收费员%1于%2开具。")
                   .arg(issue->cashier, issue->time.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    }
    return issuer.isEmpty()
               ? refusal
               : refusal + QStringLiteral("\n这个住院号的收据由收费员%1开具。").arg(issuer);
}

PrintCommand::PrintCommand(MainWindow& window, store::Database& database,
                           const ReceiptModification& modification, DepositDeduction& deposits,
                           const platform::Services& services)
    : m_window(window),
      m_database(database),
      m_modification(modification),
      m_deposits(deposits),
      m_services(services) {}

void PrintCommand::run() {
    m_window.recalculateTotal();

    bool readable = false;
    QString issuer;
    const bool alreadyStored = isAlreadyStored(&readable, &issuer);
    if (!readable) {
        return;
    }
    const receipt::ReceiptState& receipt = m_window.receipt();
    const QString refusal = store::issueRefusal({m_window.inpatientNumber(), m_window.patientName(),
                                                 receipt.totalAmount, receipt.supplementAmount,
                                                 alreadyStored, receipt.isModifyMode != 0});
    if (!refusal.isEmpty()) {
        showError(alreadyStored && receipt.isModifyMode == 0 ? withIssue(refusal, issuer)
                                                             : refusal);
        return;
    }
    store::EventMethods methods;
    if (!confirmBlankPaper(&methods)) {
        return;
    }
    if (const std::optional<storage::RecordId> stored = saveReceipt(methods)) {
        printReceipt(*stored);
    }
}

bool PrintCommand::isAlreadyStored(bool* ok, QString* issuer) {
    store::Table table(m_database);
    const bool found = table.open(store::kReceiptTable) &&
                       store::findByInpatientNumber(table, m_window.inpatientNumber());
    if (found) {
        *issuer = table.readField(store::kCashierField).toString();
    }
    *ok = table.lastError().isEmpty();
    if (!*ok) {
        showError(QStringLiteral("无法读取收据表，收据没有保存。\n") + table.lastError());
    }
    return found;
}

bool PrintCommand::confirmBlankPaper(store::EventMethods* methods) {
    const receipt::ReceiptState& receipt = m_window.receipt();
    const bool correcting = receipt.isModifyMode != 0;
    common::Money supplement = receipt.supplementAmount;
    common::Money refund = receipt.refundAmount;
    if (const store::LoadedReceipt* loaded = m_modification.loadedReceipt();
        correcting && loaded != nullptr) {
        const store::JournalAmounts before = store::receiptAmounts(loaded->values);
        supplement = supplement - store::journalAmount(before, store::kSupplementField);
        refund = refund - store::journalAmount(before, store::kRefundField);
    }
    const QStringList& offered = m_services.paymentMethods;
    const int cash = std::max<int>(0, static_cast<int>(offered.indexOf(receipt::kCashMethod)));
    QList<HandedAmount> handed;
    QList<widgets::MessageChoice> choices;
    for (const HandedAmount& amount :
         {HandedAmount{handedCaption(store::kSupplementField, supplement, correcting), supplement,
                       &methods->supplement},
          HandedAmount{handedCaption(store::kRefundField, refund, correcting), refund,
                       &methods->refund}}) {
        // With no other method to choose, every amount is cash, as it always was.
        if (!amount.amount.isZero() && offered.size() > 1) {
            handed.append(amount);
            choices.append({amount.caption, offered, cash});
        }
    }
    if (choices.isEmpty()) {
        return m_services.messageBoxes.show(&m_window, printing::blankPaperQuestion()) ==
               widgets::MessageAnswer::Ok;
    }
    if (m_services.messageBoxes.ask(&m_window, printing::blankPaperQuestion(), &choices) !=
        widgets::MessageAnswer::Ok) {
        return false;
    }
    for (qsizetype at = 0; at < handed.size(); ++at) {
        *handed[at].method = offered.value(choices[at].chosen, receipt::kCashMethod.toString());
    }
    return true;
}

std::optional<storage::RecordId> PrintCommand::saveReceipt(const store::EventMethods& methods) {
    const receipt::ReceiptState& receipt = m_window.receipt();
    const QVariantList values =
        store::receiptRecordValues(m_window.inpatientNumber(), m_window.patientName(),
                                   m_window.admissionDate(), m_window.dischargeDate(), receipt);
    const store::LoadedReceipt* loaded = m_modification.loadedReceipt();
    if (receipt.isModifyMode != 0 && loaded == nullptr) {
        showError(QStringLiteral("没有调出要修改的收据，没有保存，也没有打印。"));
        return std::nullopt;
    }
    const store::SaveResult saved =
        receipt.isModifyMode == 0
            ? store::saveNewReceipt(m_database, values, methods, m_deposits.deducted())
            : store::saveCorrection(m_database, *loaded, values, methods);
    switch (saved.outcome) {
        case store::SaveOutcome::Saved:
            return saved.recordId;
        case store::SaveOutcome::AlreadyStored:
            showError(withIssue(QStringLiteral("票据已存在！"), {}));
            break;
        case store::SaveOutcome::ChangedElsewhere:
            showError(
                QStringLiteral("这张收据在调出之后已被另一台收费机修改，没有保存，也没有打印。\n"
                               "请重新调出这张收据再修改。"));
            break;
        case store::SaveOutcome::DepositsChanged:
            showError(QStringLiteral("预交金已变动，请重新计算"));
            // The box shows the ledger as it is now; the cashier checks the bill and prints again.
            if (receipt.isModifyMode == 0) {
                m_deposits.readForNewReceipt();
            } else {
                m_deposits.readForCorrection();
            }
            break;
        case store::SaveOutcome::Removed:
            showError(QStringLiteral("要修改的收据已不在收据表中，没有保存，也没有打印。"));
            break;
        case store::SaveOutcome::Failed:
            showError(QStringLiteral("收据没有保存，也没有打印。\n") + saved.error);
            break;
        case store::SaveOutcome::Uncertain:
            showError(uncertainSaveMessage(receipt.isModifyMode != 0, m_window.inpatientNumber(),
                                           saved.error));
            break;
    }
    return std::nullopt;
}

void PrintCommand::printReceipt(storage::RecordId recordId) {
    const printing::StoredPrintout printout = printing::printStoredReceipt(
        m_database, m_services.printer, recordId, printing::Printing::Issue, m_services.office);
    if (!printout.read) {
        showError(QStringLiteral("收据已保存，但无法从收据表读回，没有打印。\n") + printout.error);
        return;
    }
    const QString receipt = QStringLiteral("收据");
    if (const std::optional<widgets::Message> told = printing::printOutcomeMessage(
            printout.outcome, {QStringLiteral("收据已保存，但没有打印出来。"), receipt, receipt})) {
        m_services.messageBoxes.show(&m_window, *told);
    }
    m_window.newReceipt();
}

void PrintCommand::showError(const QString& text) {
    m_services.messageBoxes.show(&m_window, widgets::errorMessage(text));
}

}  // namespace billing
