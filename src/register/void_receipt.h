#pragma once

#include <QString>
#include <QVariantList>

#include "store/receipt_saving.h"

class QWidget;

namespace platform {
struct Services;
}
namespace store {
class Database;
}

namespace receipt_register {

// Why cashier may not void the receipt of these stored values, as the 作废 button's tooltip says
// it; empty when he may.
QString voidForbiddenReason(const QVariantList& values, const QString& cashier);

// 作废 as the cashier meets it: a receipt of another cashier is refused at once; otherwise the
// reason and a confirmation are asked, the receipt is voided as it was shown, and the cashier is
// told what became of it. True when it was voided.
bool voidShownReceipt(QWidget* parent, const platform::Services& services,
                      store::Database& database, const QString& cashier,
                      const store::LoadedReceipt& shown);

}  // namespace receipt_register
