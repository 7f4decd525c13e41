#pragma once

// Readers that turn what the program writes for an amount (its money words, the eight capital
// boxes of the printout) back into fen, written apart from the writers so that the two can be
// checked against each other.

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>

#include "printing/capital_boxes.h"

namespace fuzz {

using Fen = __int128;

inline constexpr char16_t kCapitalDigits[] = u"零壹贰叁肆伍陆柒捌玖";

inline int capitalDigit(QChar character) {
    for (int digit = 0; digit < 10; ++digit) {
        if (character == QChar(kCapitalDigits[digit])) {
            return digit;
        }
    }
    return -1;
}

// Money words read as a reader of Chinese amounts reads them: a figure takes the unit after it
// (拾 佰 仟), 万 multiplies the figures since the last 万 or 亿, 亿 everything before it (so 壹万亿
// and 壹亿亿 read as they say), 元 closes the yuan, 角 and 分 follow; 零 only separates. Gives
// nothing for words a reader could not read: a unit without its figure, two figures in a row, a
// dangling 万 or 亿, a doubled 零, a 零 before a unit or at an end, 整 anywhere but last.
inline std::optional<Fen> readMoneyWords(QStringView words) {
    const bool negative = words.startsWith(u'负');
    if (negative) {
        words = words.mid(1);
    }
    if (words == u"零元整") {
        return negative ? std::nullopt : std::optional<Fen>(0);
    }
    Fen closedByYi = 0;    // everything up to the last 亿
    Fen tenThousands = 0;  // the group closed by 万 since then
    Fen group = 0;         // 仟 佰 拾 since the last 万 or 亿
    int figure = -1;       // a figure that waits for its unit
    int lastUnit = 10000;  // units within a group fall
    bool wanSinceYi = false;
    bool zeroBefore = false;
    bool inYuan = true;
    int lastDecimalPlace = 3;  // 角 then 分
    Fen fen = 0;
    bool whole = false;

    for (qsizetype i = 0; i < words.size(); ++i) {
        const QChar character = words[i];
        if (whole) {
            return std::nullopt;  // 整 is the last word
        }
        const int digit = capitalDigit(character);
        if (digit == 0) {
            if (zeroBefore || figure >= 0 || i == 0) {
                return std::nullopt;
            }
            zeroBefore = true;
            continue;
        }
        if (digit > 0) {
            if (figure >= 0) {
                return std::nullopt;
            }
            figure = digit;
            zeroBefore = false;
            continue;
        }
        if (zeroBefore) {
            return std::nullopt;  // a 零 stands only between figures
        }
        const auto takeFigure = [&figure]() {
            const int taken = figure;
            figure = -1;
            return taken;
        };
        int unit = 0;
        if (character == u'拾') {
            unit = 10;
        } else if (character == u'佰') {
            unit = 100;
        } else if (character == u'仟') {
            unit = 1000;
        }
        if (unit != 0) {
            if (!inYuan || figure < 0 || unit >= lastUnit) {
                return std::nullopt;
            }
            group += Fen{takeFigure()} * unit;
            lastUnit = unit;
        } else if (character == u'万') {
            if (!inYuan || wanSinceYi || (group == 0 && figure < 0)) {
                return std::nullopt;
            }
            tenThousands = (group + (figure >= 0 ? takeFigure() : 0)) * 10000;
            group = 0;
            lastUnit = 10000;
            wanSinceYi = true;
        } else if (character == u'亿') {
            const Fen closed = closedByYi + tenThousands + group + (figure >= 0 ? takeFigure() : 0);
            if (!inYuan || closed == 0) {
                return std::nullopt;
            }
            closedByYi = closed * 100000000;
            tenThousands = group = 0;
            lastUnit = 10000;
            wanSinceYi = false;
        } else if (character == u'元') {
            const Fen yuan = closedByYi + tenThousands + group + (figure >= 0 ? takeFigure() : 0);
            if (!inYuan || yuan == 0) {
                return std::nullopt;
            }
            fen = yuan * 100;
            inYuan = false;
        } else if (character == u'角' || character == u'分') {
            const int place = character == u'角' ? 1 : 0;
            const bool nothingBefore = inYuan && closedByYi + tenThousands + group == 0;
            if (figure < 0 || place >= lastDecimalPlace || (inYuan && !nothingBefore)) {
                return std::nullopt;
            }
            fen += Fen{takeFigure()} * (place == 1 ? 10 : 1);
            inYuan = false;
            lastDecimalPlace = place;
        } else if (character == u'整') {
            if (inYuan || lastDecimalPlace == 0) {
                return std::nullopt;  // never without 元 or 角, never after 分
            }
            whole = true;
        } else {
            return std::nullopt;
        }
    }
    if (figure >= 0 || zeroBefore || inYuan) {
        return std::nullopt;
    }
    return negative ? -fen : fen;
}

// How many 零 the banking rules ask for in the words of an amount: one for every run of zeros
// between two non-zero figures, except a run that ends in the 元, 万 or 亿 place, where we leave
// the optional 零 out.
inline int zerosRequired(std::uint64_t magnitude) {
    int required = 0;
    bool seenNonZero = false;
    int runEnd = -1;  // place of the lowest zero of the current run
    for (int place = 0; magnitude != 0; ++place, magnitude /= 10) {
        if (magnitude % 10 == 0) {
            if (seenNonZero && runEnd < 0) {
                runEnd = place;
            }
            continue;
        }
        if (runEnd >= 0) {
            const bool endsAtGroupPlace = runEnd >= 2 && (runEnd - 2) % 4 == 0;
            required += endsAtGroupPlace ? 0 : 1;
            runEnd = -1;
        }
        seenNonZero = true;
    }
    return required;
}

// The eight boxes read back: box 1 holds 负 for a negative amount and every figure down to the
// hundred-thousands, without leading 零 unless it is the only one; the others one figure each.
inline std::optional<Fen> readCapitalBoxes(
    const std::array<QString, printing::kCapitalBoxCount>& boxes) {
    QStringView first = boxes[0];
    const bool negative = first.startsWith(u'负');
    if (negative) {
        first = first.mid(1);
    }
    if (first.isEmpty() || (first.size() > 1 && capitalDigit(first[0]) == 0)) {
        return std::nullopt;
    }
    Fen fen = 0;
    for (const QChar figure : first) {
        const int digit = capitalDigit(figure);
        if (digit < 0) {
            return std::nullopt;
        }
        fen = fen * 10 + digit;
    }
    for (int box = 1; box < printing::kCapitalBoxCount; ++box) {
        if (boxes[box].size() != 1 || capitalDigit(boxes[box][0]) < 0) {
            return std::nullopt;
        }
        fen = fen * 10 + capitalDigit(boxes[box][0]);
    }
    if (negative && fen == 0) {
        return std::nullopt;
    }
    return negative ? -fen : fen;
}

}  // namespace fuzz
