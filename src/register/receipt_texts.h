#pragma once

#include <QDateTime>
#include <QString>

#include "common/money.h"

namespace receipt_register {

// A stored date as the register shows and exports it: 2026-03-05, with the time of day only
// where it is not midnight (the program stores dates alone); empty for none.
QString dateText(const QDateTime& value);

// An amount with exactly two decimals, as the finance office's files take it: 1234.50, -0.05.
QString twoDecimalText(common::Money amount);

}  // namespace receipt_register
