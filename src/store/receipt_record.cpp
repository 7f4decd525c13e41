#include "store/receipt_record.h"

#include "billing/fee_category.h"

namespace store {

QVariantList receiptRecordValues(const QString& inpatientNumber, const QString& patientName,
                                 const QDateTime& admissionDate, const QDateTime& dischargeDate,
                                 const billing::ReceiptState& state) {
    QVariantList values{inpatientNumber, patientName, admissionDate, dischargeDate};
    for (const billing::FeeCategory& fee : billing::kFeeCategories) {
        values.append(static_cast<double>(state.*fee.variable));
    }
    values += {static_cast<double>(state.spareAmount),
               state.totalAmount,
               static_cast<double>(state.prepaidAmount),
               state.supplementAmount,
               static_cast<double>(state.refundAmount),
               static_cast<double>(state.arrearsAmount),
               state.currentCashier};
    return values;
}

}  // namespace store
