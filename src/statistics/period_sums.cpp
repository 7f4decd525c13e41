#include "statistics/period_sums.h"

namespace statistics {

namespace {

// Adds in double precision and stores the sum back at single precision.
float addNarrowed(float sum, double amount) {
    return static_cast<float>(static_cast<double>(sum) + amount);
}

}  // namespace

void PeriodSums::addReceipt(const ReceiptAmounts& receipt) {
    for (std::size_t i = 0; i < statSums.size(); ++i) {
        statSums[i] = addNarrowed(statSums[i], receipt.fees[i]);
    }
    statArrears = addNarrowed(statArrears, receipt.arrears);
    statTotal += receipt.total;
    ++statCount;
}

}  // namespace statistics
