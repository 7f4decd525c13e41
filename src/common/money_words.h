#pragma once

#include <QString>

#include "common/money.h"

namespace common {

// An amount in formal Chinese capitals with 拾佰仟万亿 and 元角分, as cheques and receipts
// write it: 120.5 is 壹佰贰拾元伍角整, 1000.05 is 壹仟元零伍分, 0 is 零元整. The amount is taken
// in whole fen. Where the banking rules leave 零 optional (a zero in the 元, 万 or 亿 place
// followed by a non-zero digit), it is left out.
QString moneyWords(Money amount);

}  // namespace common
