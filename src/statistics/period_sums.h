#pragma once

#include <array>
#include <cstdint>

#include "billing/fee_category.h"
#include "common/money.h"

namespace statistics {

// The amounts of one receipt that a statistics run adds up.
struct ReceiptAmounts {
    std::array<common::Money, billing::kFeeCategoryCount> fees{};
    common::Money arrears;
    common::Money total;
};

// The sums of one statistics run, exact to the fen: the category lines add up to what the
// receipts hold, whatever order they are added in.
struct PeriodSums {
    std::array<common::Money, billing::kFeeCategoryCount> statSums{};
    common::Money statArrears;
    common::Money statTotal;
    std::int32_t statCount = 0;

    void addReceipt(const ReceiptAmounts& receipt);
};

}  // namespace statistics
