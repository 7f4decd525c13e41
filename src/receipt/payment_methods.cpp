#include "receipt/payment_methods.h"

#include <QRegularExpression>

namespace receipt {

QStringList defaultPaymentMethods() {
    return {kCashMethod.toString(), QStringLiteral("银行卡"), QStringLiteral("微信"),
            QStringLiteral("支付宝")};
}

std::optional<QStringList> parsePaymentMethods(QStringView text, QString* problem,
                                               bool* cashAdded) {
    static const QRegularExpression separators(QStringLiteral("[,，、]"));
    QStringList methods;
    for (const QString& part : text.toString().split(separators)) {
        const QString name = part.trimmed();
        if (name.isEmpty()) {
            *problem = QStringLiteral("付款方式的名称不能为空（两个逗号之间或末尾多了逗号）。");
            return std::nullopt;
        }
        if (name.size() > kLongestMethodName) {
            *problem = QStringLiteral("付款方式“%1”太长，最多 %2 个字。")
                           .arg(name)
                           .arg(kLongestMethodName);
            return std::nullopt;
        }
        if (methods.contains(name)) {
            *problem = QStringLiteral("付款方式“%1”写了两次。").arg(name);
            return std::nullopt;
        }
        methods.append(name);
    }
    const bool adding = !methods.contains(kCashMethod);
    if (adding) {
        methods.prepend(kCashMethod.toString());
    }
    if (cashAdded != nullptr) {
        *cashAdded = adding;
    }
    return methods;
}

QString paymentMethodsText(const QStringList& methods) {
    return methods.join(u',');
}

}  // namespace receipt
