#pragma once

#include <QString>
#include <atomic>
#include <functional>
#include <optional>

#include "register/sheet_opening.h"
#include "store/receipt_search.h"

class QIODevice;

namespace receipt_register {

// What an export tells while it runs, and how it is stopped; both may be left out. Called on the
// export's own thread.
struct ExportControl {
    std::function<void(qint64 written)> progress;  // after each page: the receipts written so far
    const std::atomic_bool* cancel = nullptr;      // looked at before each page and at the end
};

struct ExportResult {
    enum class Outcome { Written, Cancelled, Failed };
    Outcome outcome = Outcome::Failed;
    qint64 receipts = 0;
    QString error;  // why it failed, for the cashier
};

// The name an export of the receipts discharged from first to last is offered under:
// 收据-20261201-20261231.xlsx.
QString exportFileName(const QDate& first, const QDate& last);

// Writes every receipt the filter finds in the database at databaseLocation, newest discharge
// first, to output in the format: a header row of every receipt field but the spare 备用, in the
// table's order (a fee category by its one name, 其他 for 其它), then 状态, 作废原因 and 付款方式;
// one row a receipt; and a last row of each amount's sum over the receipts not voided, as the
// register's sums line counts them. The receipts are read a page at a time, so
// that no lock is held between pages, on threads with connections of their own (PageReader) while
// the rows are written.
ExportResult writeReceipts(const QString& databaseLocation, const store::ReceiptFilter& filter,
                           ExportFormat format, QIODevice& output, const ExportControl& control);

// The same into the file at path, in the format its name asks for. The file appears only whole
// and readable by its owner alone (it holds patients' names): it is written under another name
// and renamed at the end, so an export that fails or is cancelled leaves no file and an earlier
// file of that name as it was.
ExportResult exportReceipts(const QString& databaseLocation, const store::ReceiptFilter& filter,
                            const QString& path, const ExportControl& control);

}  // namespace receipt_register
