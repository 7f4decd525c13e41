#pragma once

#include <QString>

namespace store {

// What the print command knows about a receipt when it decides whether it may be issued.
struct ReceiptToIssue {
    QString inpatientNumber;
    QString patientName;
    double totalAmount = 0;
    double supplementAmount = 0;
    bool alreadyStored = false;  // a receipt with this inpatient number is in the table
    bool modifying = false;      // the stored receipt is being corrected
};

inline constexpr double kLargestTotal = 999999.99;

// The first reason, in the order the cashier is told them, why the receipt may not be issued;
// empty when it may.
QString issueRefusal(const ReceiptToIssue& receipt);

}  // namespace store
