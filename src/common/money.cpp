#include "common/money.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace common {

namespace {

template <typename Real>
std::string shortestFixedText(Real magnitude) {
    char buffer[512];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

bool hasMoreThanTwoDecimals(const std::string& fixedText) {
    const auto point = fixedText.find('.');
    return point != std::string::npos && fixedText.size() - point - 1 > 2;
}

// Plain digits with an optional point, rounded half away from zero to the fen; saturates.
std::int64_t fenOfDecimalText(const std::string& fixedText) {
    const auto point = fixedText.find('.');
    const std::string whole = fixedText.substr(0, point);
    const std::string fraction =
        point == std::string::npos ? std::string() : fixedText.substr(point + 1);
    std::int64_t fen = 0;
    for (const char digit : whole + (fraction + "00").substr(0, 2)) {
        if (fen > (Money::kMaxFen - (digit - '0')) / 10) {
            return Money::kMaxFen;
        }
        fen = fen * 10 + (digit - '0');
    }
    const bool roundsUp = fraction.size() > 2 && fraction[2] >= '5';
    return roundsUp && fen < Money::kMaxFen ? fen + 1 : fen;
}

}  // namespace

Money Money::fromUnusualStoredReal(double value) {
    if (std::isnan(value)) {
        return {};
    }
    if (std::isinf(value)) {
        return fromFen(value < 0 ? -kMaxFen : kMaxFen);
    }
    const double magnitude = std::fabs(value);
    std::string text = shortestFixedText(magnitude);
    // A typed amount has at most two decimals; a value that has more and is exactly a float was
    // narrowed to single precision, whose shortest decimal is what was typed.
    if (hasMoreThanTwoDecimals(text) && magnitude <= std::numeric_limits<float>::max() &&
        static_cast<double>(static_cast<float>(magnitude)) == magnitude) {
        text = shortestFixedText(static_cast<float>(magnitude));
    }
    const std::int64_t fen = fenOfDecimalText(text);
    return fromFen(value < 0 ? -fen : fen);
}

double Money::toStoredReal() const {
    // Division is correctly rounded, so this is the double nearest to the decimal amount.
    return static_cast<double>(m_fen) / 100.0;
}

}  // namespace common
