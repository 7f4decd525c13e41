#pragma once

#include <QDateTime>
#include <QString>
#include <string>

#include "store/receipt_payment.h"

namespace receipt_register {

// A stored date as the register shows and exports it: 2026-03-05, with the time of day only
// where it is not midnight (the program stores dates alone); empty for none.
QString dateText(const QDateTime& value);

// The same date appended to a UTF-8 text: a year's export writes millions of them.
void appendDateText(std::string& text, const QDateTime& value);

// How a receipt was paid, as the register shows and exports it: its one method (现金); each
// amount's method when they differ (补收微信；退款现金); an amount paid in several ways with each
// way's part (补收现金 100.00、银行卡 50.00). Empty when no amount changed hands.
QString paymentText(const store::ReceiptPayment& payment);

}  // namespace receipt_register
