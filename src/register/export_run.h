#pragma once

#include "register/receipt_export.h"

class QWidget;

namespace receipt_register {

// Runs exportReceipts on a thread of its own (which reads the database at databaseLocation
// through connections of its own), while a progress dialog (shown when the export takes a moment)
// tells how far it is and offers 取消. The window stays drawn and the cashier can cancel; returns
// when the export has ended. expected is how many receipts the filter found.
ExportResult runExport(QWidget* parent, const QString& databaseLocation,
                       const store::ReceiptFilter& filter, const QString& path, qint64 expected);

}  // namespace receipt_register
