#pragma once

#include <QDateTime>
#include <QString>
#include <QVariantList>

#include "receipt/receipt_state.h"

namespace store {

// The 30 values of a receipt record in field order: the texts of the inpatient-number and name
// boxes exactly as typed, the two date boxes' values, and the amounts and cashier of the state.
QVariantList receiptRecordValues(const QString& inpatientNumber, const QString& patientName,
                                 const QDateTime& admissionDate, const QDateTime& dischargeDate,
                                 const receipt::ReceiptState& state);

}  // namespace store
