#include "printing/stored_printout.h"

#include <QPoint>

#include "printing/receipt_layout.h"
#include "store/database.h"
#include "store/receipt_search.h"
#include "store/reprint_journal.h"
#include "store/schema.h"

namespace printing {

namespace {

constexpr int kA4PaperSetting = 9;

const QString kReprintMark = QStringLiteral("-补打");
// Where a reprint's copy says so: the top row, right of the department.
constexpr QPoint kReprintNotePosition{1405, 10};

struct PrintedReceipt {
    StoredPrintout printout;
    QVariantList values;  // every field, as printed
};

PrintedReceipt printReceipt(store::Database& database, platform::Printer& printer,
                            const store::ShownReceipt& shown, Printing printing,
                            const common::OfficeNames& office, const QString& copyNote = {}) {
    PrintedReceipt printed;
    const std::optional<QVariantList> values =
        store::readReceipt(database, shown.recordId, &printed.printout.error);
    if (!values) {
        return printed;
    }
    if (!store::isAsShown(*values, shown)) {
        printed.printout.changed = true;
        return printed;
    }
    printed.values = *values;
    printed.printout.read = true;
    const QString inpatientNumber =
        values->value(store::receiptSchema().indexOf(store::kInpatientNumberField)).toString();
    printer.startJob(printing == Printing::Reprint ? inpatientNumber + kReprintMark
                                                   : inpatientNumber);
    printer.setPrintSetting(kA4PaperSetting);
    placeReceipt(
        printer,
        [&values](const QString& fieldName) {
            return values->value(store::receiptSchema().indexOf(fieldName));
        },
        office);
    if (!copyNote.isEmpty()) {
        printer.placeCopyText(kReprintNotePosition.x(), kReprintNotePosition.y(), copyNote,
                              platform::CopyText::Mark);
    }
    printed.printout.outcome = printer.endJob();
    return printed;
}

}  // namespace

QString reprintNote(const QDateTime& time) {
    return QStringLiteral("补打　") + time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

widgets::Message blankPaperQuestion() {
    return {QStringLiteral("请放好空白票据！"), QStringLiteral("打印"),
            widgets::MessageButtons::OkCancel, widgets::MessageIcon::Warning};
}

StoredPrintout printStoredReceipt(store::Database& database, platform::Printer& printer,
                                  storage::RecordId id, Printing printing,
                                  const common::OfficeNames& office) {
    return printReceipt(database, printer, {id, {}, {}}, printing, office).printout;
}

StoredPrintout reprintReceipt(store::Database& database, platform::Printer& printer,
                              const store::ShownReceipt& shown, const Reprint& reprint,
                              const common::OfficeNames& office) {
    PrintedReceipt printed = printReceipt(database, printer, shown, Printing::Reprint, office,
                                          reprintNote(reprint.time));
    if (printed.printout.outcome.printed) {
        printed.printout.journalError =
            store::recordReprint(database, reprint.cashier, printed.values, reprint.reason).error;
    }
    return printed.printout;
}

}  // namespace printing
