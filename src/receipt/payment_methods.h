#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace receipt {

// The cash method: always offered, always the one chosen unless the cashier picks another, and
// the only one whose amounts are cash in the drawer.
inline constexpr QStringView kCashMethod = u"现金";
// The longest name of a method, in characters.
inline constexpr int kLongestMethodName = 10;

// What a desk offers when its settings name no methods: 现金, 银行卡, 微信, 支付宝.
QStringList defaultPaymentMethods();

// A list of methods as typed: names separated by "," "，" or "、", spaces around them dropped;
// 现金 is put first when the list lacks it (and *cashAdded, when given, says so). None, with the
// reason in *problem, for an empty name, a name given twice or one longer than
// kLongestMethodName.
std::optional<QStringList> parsePaymentMethods(QStringView text, QString* problem,
                                               bool* cashAdded = nullptr);

// The list as the settings file keeps it: 现金,银行卡,微信,支付宝.
QString paymentMethodsText(const QStringList& methods);

}  // namespace receipt
