#pragma once

#include <QMetaType>
#include <cmath>
#include <compare>
#include <cstdint>
#include <limits>

namespace common {

// An amount of money as a whole number of fen (0.01 yuan). Every amount of the program is one,
// from the box or the stored record to the screen, the record, the paper and the statistics, so
// nothing is ever rounded on the way and comparisons are exact.
//
// Arithmetic saturates at the largest amount the fen count can hold instead of wrapping round:
// only a corrupted record could come near it, and it must not turn into a negative sum.
class Money {
public:
    constexpr Money() = default;
    static constexpr Money fromFen(std::int64_t fen) { return Money(clamp(fen)); }
    // A value read as a floating-point number from a stored record, rounded half away from zero
    // to the fen. A single-precision value written by older programs (0.1 kept as 0.100000001)
    // reads as the decimal that was typed. Not-a-number reads as 0, infinities saturate.
    static Money fromStoredReal(double value) {
        // Almost every stored amount lies within a thousandth of a fen of a whole fen, where any
        // reading of it gives that fen; a statistics run reads millions of them. Adding and
        // taking away 1.5 * 2^52 rounds to the nearest whole number.
        constexpr double kRounding = 6755399441055744.0;
        constexpr double kWithinExactRange = 1e12;
        const double hundredfold = value * 100.0;
        const double nearestFen = (hundredfold + kRounding) - kRounding;
        if (std::fabs(nearestFen) < kWithinExactRange &&
            std::fabs(hundredfold - nearestFen) <= 1e-3) {
            return Money(static_cast<std::int64_t>(nearestFen));
        }
        return fromUnusualStoredReal(value);
    }

    constexpr std::int64_t fen() const { return m_fen; }
    // The amount's decimal value as the nearest double, the form in which REAL columns keep it.
    double toStoredReal() const;

    constexpr bool isZero() const { return m_fen == 0; }
    constexpr bool isNegative() const { return m_fen < 0; }

    Money operator+(Money other) const {
        if (other.m_fen > 0 && m_fen > kMaxFen - other.m_fen) {
            return fromFen(kMaxFen);
        }
        if (other.m_fen < 0 && m_fen < -kMaxFen - other.m_fen) {
            return fromFen(-kMaxFen);
        }
        return Money(m_fen + other.m_fen);
    }
    Money operator-(Money other) const { return *this + -other; }
    constexpr Money operator-() const { return Money(-m_fen); }
    Money& operator+=(Money other) { return *this = *this + other; }

    friend constexpr bool operator==(Money, Money) = default;
    friend constexpr auto operator<=>(Money, Money) = default;

    // The largest magnitude an amount can have; the range is symmetric so that negation is safe.
    static constexpr std::int64_t kMaxFen = std::numeric_limits<std::int64_t>::max();

private:
    constexpr explicit Money(std::int64_t fen) : m_fen(fen) {}
    // The stored values that lie between two fen: read through their decimal text.
    static Money fromUnusualStoredReal(double value);
    static constexpr std::int64_t clamp(std::int64_t fen) {
        return fen < -kMaxFen ? -kMaxFen : fen;
    }

    std::int64_t m_fen = 0;
};

// Amounts in yuan as written in the program's constants: yuan(999999.99) is 99999999 fen.
consteval Money yuan(long double amount) {
    const long double fen = amount * 100.0L;
    return Money::fromFen(static_cast<std::int64_t>(fen < 0 ? fen - 0.5L : fen + 0.5L));
}

}  // namespace common

Q_DECLARE_METATYPE(common::Money)
