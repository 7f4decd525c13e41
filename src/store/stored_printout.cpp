#include "store/stored_printout.h"

#include "printing/receipt_layout.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/table.h"

namespace store {

namespace {

constexpr int kA4PaperSetting = 9;

const QString kReprintMark = QStringLiteral("-补打");

}  // namespace

widgets::Message blankPaperQuestion() {
    return {QStringLiteral("请放好空白票据！"), QStringLiteral("打印"),
            widgets::MessageButtons::OkCancel, widgets::MessageIcon::Warning};
}

StoredPrintout printStoredReceipt(Database& database, platform::Printer& printer,
                                  storage::RecordId id, Printing printing) {
    StoredPrintout printout;
    Table table(database);
    if (!table.open(kReceiptTable) || !table.goToRecord(id)) {
        printout.error = table.lastError();
        return printout;
    }
    printout.read = true;
    const QString inpatientNumber = table.readField(kInpatientNumberField).toString();
    printer.startJob(printing == Printing::Reprint ? inpatientNumber + kReprintMark
                                                   : inpatientNumber);
    printer.setPrintSetting(kA4PaperSetting);
    printing::placeReceipt(
        printer, [&table](const QString& fieldName) { return table.readField(fieldName); });
    table.close();
    printout.outcome = printer.endJob();
    return printout;
}

StoredPrintout reprintReceipt(Database& database, platform::Printer& printer,
                              storage::RecordId id) {
    return printStoredReceipt(database, printer, id, Printing::Reprint);
}

}  // namespace store
