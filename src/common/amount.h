#pragma once

#include <cmath>

namespace common {

// Amounts are compared with this tolerance: a difference of at most 1e-7 counts as none.
inline constexpr double kAmountTolerance = 1e-7;

inline bool isZeroAmount(double amount) {
    return std::fabs(amount) <= kAmountTolerance;
}

inline bool isNegativeAmount(double amount) {
    return amount < -kAmountTolerance;
}

inline bool isAboveLimit(double amount, double limit) {
    return amount - limit > kAmountTolerance;
}

}  // namespace common
