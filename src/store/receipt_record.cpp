#include "store/receipt_record.h"

#include "receipt/fee_category.h"

namespace store {

QVariantList receiptRecordValues(const QString& inpatientNumber, const QString& patientName,
                                 const QDateTime& admissionDate, const QDateTime& dischargeDate,
                                 const receipt::ReceiptState& state) {
    QVariantList values{inpatientNumber, patientName, admissionDate, dischargeDate};
    for (const receipt::FeeCategory& fee : receipt::kFeeCategories) {
        values.append(QVariant::fromValue(state.*fee.variable));
    }
    for (const common::Money amount :
         {state.spareAmount, state.totalAmount, state.prepaidAmount, state.supplementAmount,
          state.refundAmount, state.arrearsAmount}) {
        values.append(QVariant::fromValue(amount));
    }
    values.append(state.currentCashier);
    return values;
}

}  // namespace store
