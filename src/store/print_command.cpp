#include "store/print_command.h"

#include "billing/main_window.h"
#include "platform/message_boxes.h"
#include "platform/printer.h"
#include "platform/services.h"
#include "printing/receipt_layout.h"
#include "store/database.h"
#include "store/receipt_record.h"
#include "store/receipt_validation.h"
#include "store/table.h"

namespace store {

namespace {

constexpr int kA4PaperSetting = 9;

const QString kErrorTitle = QStringLiteral("错误信息：");

}  // namespace

PrintCommand::PrintCommand(billing::MainWindow& window, Database& database,
                           const platform::Services& services)
    : m_window(window), m_database(database), m_services(services) {}

void PrintCommand::run() {
    m_window.recalculateTotal();

    bool readable = false;
    const bool alreadyStored = isAlreadyStored(&readable);
    if (!readable) {
        return;
    }
    const billing::ReceiptState& receipt = m_window.receipt();
    const QString refusal =
        issueRefusal({m_window.inpatientNumber(), m_window.patientName(), receipt.totalAmount,
                      receipt.supplementAmount, alreadyStored, receipt.isModifyMode != 0});
    if (!refusal.isEmpty()) {
        showError(refusal);
        return;
    }
    if (!confirmBlankPaper() || !saveReceipt()) {
        return;
    }
    printReceipt();
}

bool PrintCommand::isAlreadyStored(bool* ok) {
    Table table(m_database);
    *ok = table.open(kReceiptTable);
    if (!*ok) {
        showError(QStringLiteral("无法读取收据表，收据没有保存。\n") + table.lastError());
        return false;
    }
    table.goFirst();
    const bool found = findByInpatientNumber(table, m_window.inpatientNumber());
    table.close();
    return found;
}

bool PrintCommand::confirmBlankPaper() {
    const platform::Message question{QStringLiteral("请放好空白票据！"), QStringLiteral("打印"),
                                     platform::MessageButtons::OkCancel,
                                     platform::MessageIcon::Warning};
    return m_services.messageBoxes.show(&m_window, question) == platform::MessageAnswer::Ok;
}

bool PrintCommand::saveReceipt() {
    const billing::ReceiptState& receipt = m_window.receipt();
    const QVariantList values =
        receiptRecordValues(m_window.inpatientNumber(), m_window.patientName(),
                            m_window.admissionDate(), m_window.dischargeDate(), receipt);
    Table table(m_database);
    bool saved = false;
    if (table.open(kReceiptTable)) {
        if (receipt.isModifyMode == 0) {
            saved = table.appendRecord(values);
        } else if (findByInpatientNumber(table, m_window.inpatientNumber())) {
            saved = table.rewriteRecord(values);
        } else {
            // Changed behind the window's back since it was loaded: rewriting whatever record
            // is current would overwrite another patient's receipt.
            table.close();
            showError(QStringLiteral("要修改的收据已不在收据表中，没有保存，也没有打印。"));
            return false;
        }
    }
    if (!saved) {
        showError(QStringLiteral("收据没有保存，也没有打印。\n") + table.lastError());
    }
    table.close();
    return saved;
}

void PrintCommand::printReceipt() {
    const QString inpatientNumber = m_window.inpatientNumber();
    Table table(m_database);
    if (!table.open(kReceiptTable) || !findByInpatientNumber(table, inpatientNumber)) {
        showError(QStringLiteral("收据已保存，但无法从收据表读回，没有打印。\n") +
                  table.lastError());
        return;
    }
    platform::Printer& printer = m_services.printer;
    printer.startJob(inpatientNumber);
    printer.setPrintSetting(kA4PaperSetting);
    printing::placeReceipt(
        printer, [&table](const QString& fieldName) { return table.readField(fieldName); });
    table.close();
    const platform::PrintOutcome outcome = printer.endJob();

    if (!outcome.printed) {
        QString text = QStringLiteral("收据已保存，但没有打印出来。\n") + outcome.error;
        if (!outcome.pdfPath.isEmpty()) {
            text += QStringLiteral("\n收据的 PDF 副本：") + outcome.pdfPath;
        }
        showError(text);
    } else if (outcome.printerName.isEmpty()) {
        m_services.messageBoxes.show(
            &m_window, {QStringLiteral("没有找到打印机，收据已保存为 PDF：\n") + outcome.pdfPath,
                        QStringLiteral("打印"), platform::MessageButtons::Ok,
                        platform::MessageIcon::Information});
    }
    m_window.newReceipt();
}

void PrintCommand::showError(const QString& text) {
    m_services.messageBoxes.show(
        &m_window, {text, kErrorTitle, platform::MessageButtons::Ok, platform::MessageIcon::Stop});
}

}  // namespace store
