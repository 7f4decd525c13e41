#pragma once

#include <QString>
#include <cstdint>

#include "common/money.h"

namespace receipt {

// The receipt being typed, as the window's computations leave it: every amount in whole fen.
struct ReceiptState {
    common::Money bedFee;
    common::Money consultationFee;
    common::Money treatmentFee;
    common::Money nursingFee;
    common::Money examinationFee;
    common::Money ctFee;
    common::Money mriFee;
    common::Money surgeryFee;
    common::Money labTestFee;
    common::Money westernMedicineFee;
    common::Money patentMedicineFee;
    common::Money herbalMedicineFee;
    common::Money otherFee;
    common::Money anaesthesiaFee;
    common::Money materialsFee;
    common::Money companionFee;
    common::Money selfPaidDrugFee;
    common::Money specialServiceFee;
    common::Money miscFee;

    common::Money totalAmount;
    common::Money prepaidAmount;
    common::Money supplementAmount;
    common::Money refundAmount;
    common::Money arrearsAmount;
    common::Money spareAmount;  // stored in the receipt's spare field; never assigned

    std::int32_t isModifyMode = 0;
    QString currentCashier;
};

}  // namespace receipt
