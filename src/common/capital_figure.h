#pragma once

#include <QString>

namespace common {

// One digit 0 to 9 as its formal capital numeral: 零 壹 贰 叁 肆 伍 陆 柒 捌 玖.
QString capitalFigure(int digit);

// A whole number written figure by figure in capitals (12 gives 壹贰), with 负 before a
// negative one; for a printed box that has to hold more than one digit.
QString capitalFigures(long long number);

}  // namespace common
