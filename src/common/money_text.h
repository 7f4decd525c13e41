#pragma once

#include <QString>
#include <string>

#include "common/money.h"

namespace common {

// An amount as the program's own windows, reports and files show it: always two decimals, "-"
// for negatives (1234.50, 0.00, -0.05), so that a column of them lines up at the point. The
// billing window, the printed receipt and the statistics report keep numberToText's shorter form.
QString moneyText(Money amount);

// The same appended to a UTF-8 text: a year's export writes millions of them.
void appendMoneyText(std::string& text, Money amount);

}  // namespace common
