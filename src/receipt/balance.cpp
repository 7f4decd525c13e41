#include "receipt/balance.h"

#include "common/number_text.h"
#include "receipt/fee_category.h"

namespace receipt {

namespace {

QString sentence(const QString& lead, common::Money amount) {
    return lead + common::numberToText(amount) + QStringLiteral("元");
}

}  // namespace

common::Money sumOfFees(const ReceiptState& state) {
    common::Money total;
    for (const FeeCategory& category : kFeeCategories) {
        total += state.*category.variable;
    }
    return total;
}

QString settleBalance(ReceiptState& state) {
    const common::Money paid = state.prepaidAmount + state.supplementAmount;
    const common::Money difference = paid - state.totalAmount;

    state.refundAmount = {};
    state.arrearsAmount = {};
    if (difference.isZero()) {
        return {};
    }
    if (!difference.isNegative()) {
        state.refundAmount = difference;
        return sentence(QStringLiteral("应退款"), state.refundAmount);
    }
    if (!state.supplementAmount.isZero()) {
        state.arrearsAmount = state.totalAmount - paid;
        return sentence(QStringLiteral("欠费"), state.arrearsAmount);
    }
    state.arrearsAmount = state.totalAmount - state.prepaidAmount;
    return sentence(QStringLiteral("应补交"), state.arrearsAmount);
}

}  // namespace receipt
