#pragma once

#include <QString>

#include "common/money.h"

namespace store {

// What the print command knows about a receipt when it decides whether it may be issued.
struct ReceiptToIssue {
    QString inpatientNumber;
    QString patientName;
    common::Money totalAmount;
    common::Money supplementAmount;
    bool alreadyStored = false;  // a receipt with this inpatient number is in the table
    bool modifying = false;      // the stored receipt is being corrected
};

// The largest total, and the largest supplement, that a receipt may carry.
inline constexpr common::Money kLargestTotal = common::yuan(999999.99);

// The first reason, in the order the cashier is told them, why the receipt may not be issued;
// empty when it may.
QString issueRefusal(const ReceiptToIssue& receipt);

}  // namespace store
