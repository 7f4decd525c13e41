#pragma once

#include <QString>

#include "store/receipt_search.h"

class QWidget;

namespace platform {
struct Services;
}
namespace store {
class Database;
}

namespace receipt_register {

// 补打 as the cashier meets it: asks for blank paper like 打印, prints the stored receipt shown
// again exactly as stored through the desk's printer, notes it in cashier's journal, and says so
// when it did not reach the printer or the journal, or when the receipt is no longer as shown.
void reprint(QWidget* parent, store::Database& database, const platform::Services& services,
             const QString& cashier, const store::ShownReceipt& shown);

}  // namespace receipt_register
