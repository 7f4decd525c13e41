#pragma once

#include <QList>
#include <QStringList>
#include <QStringView>

#include "common/money.h"
#include "printing/print_settings.h"

namespace settings {

// The largest float a drawer may start with.
inline constexpr common::Money kLargestCashFloat = common::yuan(999999.99);

// What a desk's drawer works with (491MX.conf: payment-methods=, cash-float=): the ways patients
// pay and are paid, 现金 always among them, and the float (备用金) the drawer starts each shift
// with, which is part of the cash it hands over.
struct CashSettings {
    QStringList paymentMethods;  // empty: receipt::defaultPaymentMethods()
    common::Money cashFloat;
    bool operator==(const CashSettings&) const = default;

    // The methods the desk offers, in its order.
    QStringList methods() const;
};

bool isCashSettingKey(QStringView key);

// Takes the value of a drawer setting's entry into settings. False, with the reason in *problem
// and settings unchanged, when the value cannot be used.
bool applyCashSetting(CashSettings& settings, const printing::SettingEntry& entry,
                      QString* problem);

// The entries that write the settings down, in the order they are written and shown.
QList<printing::SettingEntry> cashSettingEntries(const CashSettings& settings);

}  // namespace settings
