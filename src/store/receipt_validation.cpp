#include "store/receipt_validation.h"

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
    if (receipt.totalAmount.isZero()) {
        return QStringLiteral("合计费用为零！");
    }
    if (receipt.totalAmount > kLargestTotal) {
        return QStringLiteral("合计费用超额！请分开出据。");
    }
    // The supplement's box takes numbers of any length; one no receipt can carry stops here.
    if (receipt.supplementAmount > kLargestTotal) {
        return QStringLiteral("补收金额超额！");
    }
    if (receipt.totalAmount.isNegative() || receipt.supplementAmount.isNegative()) {
        return QStringLiteral("金额输入错误！");
    }
    return {};
}

}  // namespace store
