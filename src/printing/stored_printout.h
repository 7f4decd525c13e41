#pragma once

#include <QDateTime>
#include <QString>

#include "common/office_names.h"
#include "platform/printer.h"
#include "storage/storage_engine.h"
#include "store/receipt_search.h"
#include "widgets/message_boxes.h"

namespace store {
class Database;
}

namespace printing {

enum class Printing {
    Issue,    // the receipt's first printout, right after it was stored
    Reprint,  // 补打: the job and its PDF copy carry 补打 in their name
};

// What became of printing a stored receipt.
struct StoredPrintout {
    bool read = false;  // the receipt was read from the table and sent to the printer
    QString error;      // why the table could not be read; empty when the receipt is not stored
    // For a reprint: the record of that identity is no longer the receipt shown (corrected since,
    // or another receipt took the identity of a voided one); nothing was printed.
    bool changed = false;
    platform::PrintOutcome outcome;
    // For a reprint that was printed: why the journal did not get it; empty when it did.
    QString journalError;
};

// What 打印 and 补打 ask before they print: the blank form must be in the printer.
widgets::Message blankPaperQuestion();

// Prints the stored receipt with this identity as one page, every value read from the record
// as it is stored.
StoredPrintout printStoredReceipt(store::Database& database, platform::Printer& printer,
                                  storage::RecordId id, Printing printing,
                                  const common::OfficeNames& office);

// What a reprint's copy says of it at its top: 补打 and the time it was printed.
QString reprintNote(const QDateTime& time);

// Who prints a receipt again, when, and why (may be empty).
struct Reprint {
    QString cashier;
    QDateTime time;
    QString reason;
};

// 补打: prints the stored receipt shown again, exactly as stored, through the desk's printer, its
// copy noting the reprint's time, and once it is printed writes the reprint with its reason into
// the cashier's journal. Changes nothing else; prints nothing when the record is no longer what
// was shown.
StoredPrintout reprintReceipt(store::Database& database, platform::Printer& printer,
                              const store::ShownReceipt& shown, const Reprint& reprint,
                              const common::OfficeNames& office);

}  // namespace printing
