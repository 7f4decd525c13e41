#pragma once

#include <array>
#include <cstdint>

#include "billing/fee_category.h"

namespace statistics {

// The amounts of one receipt that a statistics run adds up, widened to double as read.
struct ReceiptAmounts {
    std::array<double, billing::kFeeCategoryCount> fees{};
    double arrears = 0;
    double total = 0;
};

// The sums of one statistics run. Each keeps its own width: the category sums and the arrears
// are single precision and are rounded back after every receipt, the total is double.
struct PeriodSums {
    std::array<float, billing::kFeeCategoryCount> statSums{};
    float statArrears = 0;
    double statTotal = 0;
    std::int32_t statCount = 0;

    void addReceipt(const ReceiptAmounts& receipt);
};

}  // namespace statistics
