#include "common/money_words.h"

#include <cstdint>
#include <string>

#include "common/capital_figure.h"

namespace common {

namespace {

constexpr int kFenPlace = 0;
constexpr int kJiaoPlace = 1;
constexpr int kYuanPlace = 2;

// Places count from the fen: 0 分, 1 角, 2 元, 3 拾, 4 佰, 5 仟, 6 万, 7 拾万, ... 10 亿.
QString digitPlaceWord(int place) {
    switch (place) {
        case kFenPlace:
            return QStringLiteral("分");
        case kJiaoPlace:
            return QStringLiteral("角");
        default:
            break;
    }
    switch ((place - kYuanPlace) % 4) {
        case 1:
            return QStringLiteral("拾");
        case 2:
            return QStringLiteral("佰");
        case 3:
            return QStringLiteral("仟");
        default:
            return {};
    }
}

bool isGroupBoundary(int place) {
    return place >= kYuanPlace && (place - kYuanPlace) % 4 == 0;
}

bool anyNonZero(const std::string& digits, std::size_t from, std::size_t to) {
    return digits.find_first_not_of('0', from) < to;
}

// The word closing a group of four places, or nothing when the group needs none: 元 for a
// non-zero yuan part, 万 for a non-zero group of ten-thousands, 亿 when anything stands from
// the 亿 place upwards.
QString groupWord(const std::string& digits, std::size_t index, int place) {
    const std::size_t groupStart = index >= 3 ? index - 3 : 0;
    switch ((place - kYuanPlace) / 4 % 2) {
        case 1:
            return anyNonZero(digits, groupStart, index + 1) ? QStringLiteral("万") : QString();
        default:
            if (place == kYuanPlace) {
                return anyNonZero(digits, 0, index + 1) ? QStringLiteral("元") : QString();
            }
            return anyNonZero(digits, 0, index + 1) ? QStringLiteral("亿") : QString();
    }
}

}  // namespace

QString moneyWords(Money amount) {
    const std::int64_t fen = amount.fen();
    if (fen == 0) {
        return QStringLiteral("零元整");
    }
    QString words = fen < 0 ? QStringLiteral("负") : QString();
    const std::string digits = std::to_string(fen < 0 ? -static_cast<std::uint64_t>(fen)
                                                      : static_cast<std::uint64_t>(fen));
    const int count = static_cast<int>(digits.size());

    bool zeroPending = false;
    bool anyWritten = false;
    for (int index = 0; index < count; ++index) {
        const int place = count - 1 - index;
        const int digit = digits[index] - '0';
        if (digit != 0) {
            if (zeroPending) {
                words += QStringLiteral("零");
                zeroPending = false;
            }
            words += capitalFigure(digit) + digitPlaceWord(place);
            anyWritten = true;
        } else if (anyWritten) {
            zeroPending = true;
        }
        if (isGroupBoundary(place)) {
            words += groupWord(digits, static_cast<std::size_t>(index), place);
            const bool nextIsNonZero = digits[index + 1] != '0';
            if (digit == 0 && nextIsNonZero) {
                zeroPending = false;
            }
        }
    }
    if (fen % 10 == 0) {
        words += QStringLiteral("整");
    }
    return words;
}

}  // namespace common
