#pragma once

#include <cstdint>
#include <string>

namespace common {

// An amount as exact decimal text, rounded half away from zero. Working on the shortest
// decimal form of a double keeps 1.005 at 1.01, where value * 100 would give 100.4999...
struct RoundedDecimal {
    bool negative = false;
    std::string integerDigits;   // no sign, at least one digit
    std::string fractionDigits;  // exactly the requested count
    bool isZero() const;
};

RoundedDecimal roundDecimal(double value, int fractionDigits);

// The number of places after the point at which a non-zero value's first significant digit
// stands (0.0000076 gives 6); 0 for values of 1 or more.
int leadingFractionZeros(double value);

}  // namespace common
