#pragma once

#include <QString>
#include <QStringView>

namespace common {

// A box's text read as an amount: an optional minus, digits and a decimal part. Empty text,
// a lone "-" or "." and anything that is not such a number count as 0.
double textToNumber(QStringView text);

// An amount as plain decimal text: rounded half away from zero to the fen, no trailing zeros,
// no point for whole amounts, never "-0". A non-zero amount that would round to 0 keeps two
// significant digits (0.0000076) so that it never reads as 0.
QString numberToText(double value);

}  // namespace common
