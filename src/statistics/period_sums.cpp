#include "statistics/period_sums.h"

namespace statistics {

void PeriodSums::addReceipt(const ReceiptAmounts& receipt) {
    for (std::size_t i = 0; i < statSums.size(); ++i) {
        statSums[i] += receipt.fees[i];
    }
    statArrears += receipt.arrears;
    statTotal += receipt.total;
    ++statCount;
}

}  // namespace statistics
