#pragma once

#include <array>
#include <cstdint>

#include "common/money.h"
#include "receipt/fee_category.h"

namespace statistics {

// The sums of one statistics run, exact to the fen: the category lines add up to what the
// receipts hold.
struct PeriodSums {
    std::array<common::Money, receipt::kFeeCategoryCount> statSums{};
    common::Money statArrears;
    common::Money statTotal;
    std::int32_t statCount = 0;
};

}  // namespace statistics
