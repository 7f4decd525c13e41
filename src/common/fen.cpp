#include "common/fen.h"

#include <cmath>
#include <limits>

#include "common/decimal_rounding.h"

namespace common {

std::int64_t toFen(double amount) {
    constexpr double largestExactFen = 9.0e15;
    if (std::isnan(amount)) {
        return 0;
    }
    if (std::fabs(amount) * 100.0 >= largestExactFen) {
        return amount < 0 ? std::numeric_limits<std::int64_t>::min() + 1
                          : std::numeric_limits<std::int64_t>::max();
    }
    const RoundedDecimal rounded = roundDecimal(amount, 2);
    const std::int64_t fen = std::stoll(rounded.integerDigits + rounded.fractionDigits);
    return rounded.negative ? -fen : fen;
}

}  // namespace common
