#include "store/receipt_validation.h"

#include "common/amount.h"
#include "common/text.h"

namespace store {

QString issueRefusal(const ReceiptToIssue& receipt) {
    if (common::isBlank(receipt.inpatientNumber)) {
        return QStringLiteral("住院号不能为空！");
    }
    if (receipt.alreadyStored && !receipt.modifying) {
        return QStringLiteral("票据已存在！");
    }
    if (common::isBlank(receipt.patientName)) {
        return QStringLiteral("姓名不能为空！");
    }
    if (common::isZeroAmount(receipt.totalAmount)) {
        return QStringLiteral("合计费用为零！");
    }
    if (common::isAboveLimit(receipt.totalAmount, kLargestTotal)) {
        return QStringLiteral("合计费用超额！请分开出据。");
    }
    if (common::isNegativeAmount(receipt.totalAmount) ||
        common::isNegativeAmount(receipt.supplementAmount)) {
        return QStringLiteral("金额输入错误！");
    }
    return {};
}

}  // namespace store
