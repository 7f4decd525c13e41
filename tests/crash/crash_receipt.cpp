#include "crash/crash_receipt.h"

#include <QDateTime>
#include <QRegularExpression>

#include "receipt/fee_category.h"
#include "store/receipt_record.h"
#include "store/schema.h"
#include "store/stored_values.h"

namespace crash_receipt {

namespace {

const QRegularExpression kName(QStringLiteral("^第(\\d+)版$"));

}  // namespace

QVariantList receipt(Key key) {
    receipt::ReceiptState state;
    std::int64_t position = 0;
    for (const receipt::FeeCategory& fee : receipt::kFeeCategories) {
        // Every field differs from every other, so that values moved between fields show too.
        state.*fee.variable =
            common::Money::fromFen(key.number * 10000LL + key.version * 100LL + ++position);
        state.totalAmount += state.*fee.variable;
    }
    state.prepaidAmount = common::Money::fromFen(key.number * 100LL + key.version);
    state.supplementAmount = state.totalAmount - state.prepaidAmount;
    state.currentCashier = QStringLiteral("491MX");
    const QDateTime admission(QDate(2024, 1, 1).addDays(key.number % 1000), QTime(0, 0));
    return store::receiptRecordValues(QString::number(key.number),
                                      QStringLiteral("第%1版").arg(key.version), admission,
                                      admission.addDays(key.version), state);
}

std::optional<Key> keyOf(const QVariantList& values) {
    bool isNumber = false;
    const int number = values.value(0).toString().toInt(&isNumber);
    const QRegularExpressionMatch name = kName.match(values.value(1).toString());
    if (!isNumber || !name.hasMatch()) {
        return std::nullopt;
    }
    const Key key{number, name.captured(1).toInt()};
    if (!store::sameRecord(store::receiptSchema(), values.mid(0, store::kReceiptFieldCount),
                           receipt(key))) {
        return std::nullopt;
    }
    return key;
}

}  // namespace crash_receipt
