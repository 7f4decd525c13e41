#pragma once

#include <QString>
#include <QStringView>
#include <optional>

#include "common/money.h"

namespace common {

// A box's text as an amount: an optional minus, digits, and a point with at most two decimals.
// Empty text, a lone "-" or "." are 0. Anything else, and an amount too large to hold, is none.
std::optional<Money> parseAmount(QStringView text);

// A box's text read as an amount. An amount too large to hold reads as the largest of its sign,
// so that a limit refuses it; whatever else is not an amount counts as 0.
Money textToNumber(QStringView text);

// An amount as plain decimal text: no trailing zeros, no point for whole amounts, "-" for
// negatives (123.5, 200, -0.05).
QString numberToText(Money amount);

}  // namespace common
