#pragma once

#include <cstdint>

namespace common {

// An amount as a whole number of fen (0.01 yuan), rounded half away from zero. Money words and
// the printed capital figures work on this integer, never on the floating-point value.
// Amounts beyond what an int64 of fen can hold saturate.
std::int64_t toFen(double amount);

}  // namespace common
