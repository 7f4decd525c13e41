#pragma once

#include <QDateTime>
#include <QString>
#include <string>

#include "common/money.h"
#include "store/receipt_payment.h"

namespace receipt_register {

// A stored date as the register shows and exports it: 2026-03-05, with the time of day only
// where it is not midnight (the program stores dates alone); empty for none.
QString dateText(const QDateTime& value);

// The same date appended to a UTF-8 text, and an amount with exactly two decimals, as the
// finance office's files take it (1234.50, -0.05): a year's export writes millions of them.
void appendDateText(std::string& text, const QDateTime& value);
void appendTwoDecimals(std::string& text, common::Money amount);

// How a receipt was paid, as the register shows and exports it: its one method (现金); each
// amount's method when they differ (补收微信；退款现金); an amount paid in several ways with each
// way's part (补收现金 100.00、银行卡 50.00). Empty when no amount changed hands.
QString paymentText(const store::ReceiptPayment& payment);

}  // namespace receipt_register
