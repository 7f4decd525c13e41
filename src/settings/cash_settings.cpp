#include "settings/cash_settings.h"

#include "common/number_text.h"
#include "receipt/payment_methods.h"

namespace settings {

namespace {

const QString kMethodsKey = QStringLiteral("payment-methods");
const QString kFloatKey = QStringLiteral("cash-float");

// The float as the settings file keeps it: two decimals.
QString floatText(common::Money amount) {
    return QString::number(amount.fen() / 100) + u'.' +
           QString::number(amount.fen() % 100).rightJustified(2, u'0');
}

}  // namespace

QStringList CashSettings::methods() const {
    return paymentMethods.isEmpty() ? receipt::defaultPaymentMethods() : paymentMethods;
}

bool isCashSettingKey(QStringView key) {
    return key == kMethodsKey || key == kFloatKey;
}

bool applyCashSetting(CashSettings& settings, const printing::SettingEntry& entry,
                      QString* problem) {
    if (entry.key == kMethodsKey) {
        const std::optional<QStringList> methods =
            receipt::parsePaymentMethods(entry.value, problem);
        if (!methods) {
            return false;
        }
        settings.paymentMethods = *methods;
        return true;
    }
    const std::optional<common::Money> amount = common::parseAmount(entry.value);
    if (!amount || amount->isNegative() || *amount > kLargestCashFloat || entry.value.isEmpty() ||
        !entry.value.front().isDigit()) {
        *problem =
            QStringLiteral("备用金应是 0 到 %1 之间的金额，最多两位小数（例如 500 或 500.00）。")
                .arg(floatText(kLargestCashFloat));
        return false;
    }
    settings.cashFloat = *amount;
    return true;
}

QList<printing::SettingEntry> cashSettingEntries(const CashSettings& settings) {
    return {{kMethodsKey, receipt::paymentMethodsText(settings.methods())},
            {kFloatKey, floatText(settings.cashFloat)}};
}

}  // namespace settings
