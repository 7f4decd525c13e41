#pragma once

#include <QString>

#include "receipt/receipt_state.h"

namespace receipt {

// The sum of the nineteen fee variables.
common::Money sumOfFees(const ReceiptState& state);

// Sets refundAmount and arrearsAmount from totalAmount, prepaidAmount and supplementAmount and
// returns the status-line sentence: "应退款…元", "欠费…元", "应补交…元", or empty when the
// receipt balances.
QString settleBalance(ReceiptState& state);

}  // namespace receipt
