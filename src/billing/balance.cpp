#include "billing/balance.h"

#include "billing/fee_category.h"
#include "common/amount.h"
#include "common/number_text.h"

namespace billing {

double sumOfFees(const ReceiptState& state) {
    double total = 0.0;
    for (const FeeCategory& category : kFeeCategories) {
        total += static_cast<double>(state.*category.variable);
    }
    return total;
}

QString settleBalance(ReceiptState& state) {
    const double paid = static_cast<double>(state.prepaidAmount) + state.supplementAmount;
    const double difference = paid - state.totalAmount;

    state.refundAmount = 0;
    state.arrearsAmount = 0;
    if (common::isZeroAmount(difference)) {
        return {};
    }
    if (difference > 0) {
        state.refundAmount = static_cast<float>(difference);
        return QStringLiteral("应退款") + common::numberToText(state.refundAmount) +
               QStringLiteral("元");
    }
    if (!common::isZeroAmount(state.supplementAmount)) {
        state.arrearsAmount = static_cast<float>(state.totalAmount - paid);
        return QStringLiteral("欠费") + common::numberToText(state.arrearsAmount) +
               QStringLiteral("元");
    }
    state.arrearsAmount =
        static_cast<float>(state.totalAmount - static_cast<double>(state.prepaidAmount));
    return QStringLiteral("应补交") + common::numberToText(state.arrearsAmount) +
           QStringLiteral("元");
}

}  // namespace billing
