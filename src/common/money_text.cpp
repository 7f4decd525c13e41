#include "common/money_text.h"

#include <charconv>

namespace common {

void appendMoneyText(std::string& text, Money amount) {
    // An amount's range is symmetric, so its magnitude is an amount too.
    const std::int64_t magnitude = amount.isNegative() ? -amount.fen() : amount.fen();
    if (amount.isNegative()) {
        text.push_back('-');
    }
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, magnitude / 100).ptr;
    text.append(digits, end);
    const auto fen = static_cast<char>(magnitude % 100);
    text.push_back('.');
    text.push_back(static_cast<char>('0' + fen / 10));
    text.push_back(static_cast<char>('0' + fen % 10));
}

QString moneyText(Money amount) {
    std::string text;
    appendMoneyText(text, amount);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace common
