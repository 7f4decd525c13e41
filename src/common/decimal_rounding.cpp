#include "common/decimal_rounding.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace common {

namespace {

// Shortest fixed-point text that reads back as the same double, without sign.
std::string shortestFixedText(double magnitude) {
    char buffer[512];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

// Adds one to a string of decimal digits, growing it on a carry out of the top.
void incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

}  // namespace

bool RoundedDecimal::isZero() const {
    const auto isZeroDigit = [](char c) { return c == '0'; };
    return std::all_of(integerDigits.begin(), integerDigits.end(), isZeroDigit) &&
           std::all_of(fractionDigits.begin(), fractionDigits.end(), isZeroDigit);
}

RoundedDecimal roundDecimal(double value, int fractionDigits) {
    const std::string text = shortestFixedText(std::fabs(value));
    const auto point = text.find('.');
    std::string integerPart = text.substr(0, point);
    std::string fractionPart = point == std::string::npos ? std::string() : text.substr(point + 1);

    const auto keep = static_cast<std::size_t>(fractionDigits);
    const bool roundUp = fractionPart.size() > keep && fractionPart[keep] >= '5';
    fractionPart.resize(keep, '0');

    std::string digits = integerPart + fractionPart;
    if (roundUp) {
        incrementDigits(digits);
    }
    RoundedDecimal rounded;
    rounded.negative = std::signbit(value);
    rounded.integerDigits = digits.substr(0, digits.size() - keep);
    rounded.fractionDigits = digits.substr(digits.size() - keep);
    return rounded;
}

int leadingFractionZeros(double value) {
    const std::string text = shortestFixedText(std::fabs(value));
    if (text.rfind("0.", 0) != 0) {
        return 0;
    }
    const auto firstSignificant = text.find_first_not_of('0', 2);
    return firstSignificant == std::string::npos ? 0 : static_cast<int>(firstSignificant - 2);
}

}  // namespace common
