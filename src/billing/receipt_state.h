#pragma once

#include <QString>
#include <cstdint>

namespace billing {

// The receipt being typed, as the window's computations leave it. The widths are part of the
// arithmetic: fees, deposit, refund and arrears are single precision; the total and the
// supplementary payment are double precision.
struct ReceiptState {
    float bedFee = 0;
    float consultationFee = 0;
    float treatmentFee = 0;
    float nursingFee = 0;
    float examinationFee = 0;
    float ctFee = 0;
    float mriFee = 0;
    float surgeryFee = 0;
    float labTestFee = 0;
    float westernMedicineFee = 0;
    float patentMedicineFee = 0;
    float herbalMedicineFee = 0;
    float otherFee = 0;
    float anaesthesiaFee = 0;
    float materialsFee = 0;
    float companionFee = 0;
    float selfPaidDrugFee = 0;
    float specialServiceFee = 0;
    float miscFee = 0;

    double totalAmount = 0;
    float prepaidAmount = 0;
    double supplementAmount = 0;
    float refundAmount = 0;
    float arrearsAmount = 0;
    float spareAmount = 0;  // stored in the receipt's spare field; never assigned

    std::int32_t isModifyMode = 0;
    QString currentCashier;
};

}  // namespace billing
