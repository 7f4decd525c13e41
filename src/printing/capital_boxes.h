#pragma once

#include <QString>
#include <array>

#include "common/money.h"

namespace printing {

inline constexpr int kCapitalBoxCount = 8;

// An amount written into the eight boxes of the printed form, one capital figure per box, from
// hundred-thousands down to fen (120.5 gives 零 零 零 壹 贰 零 伍 零).
//
// Only a deposit can fall outside what eight boxes hold, since totals are kept within 999999.99.
// So that such a deposit still reads right, box 1 carries every digit above the ten-thousands
// (1234567.89 gives 壹贰 in box 1) and a negative amount puts 负 before box 1's figures.
std::array<QString, kCapitalBoxCount> capitalBoxes(common::Money amount);

}  // namespace printing
