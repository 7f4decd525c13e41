#pragma once

#include <QString>
#include <QStringView>
#include <optional>

#include "storage/table_schema.h"

namespace store {

// MZY_deposit: the deposits an inpatient pays during the stay, one row each: 预交号, 时间,
// 收费员, 电脑, 住院号, 姓名, 金额, 方式, 补录, 状态, and for a refunded one 退还时间,
// 退还收费员, 退还方式, 退还原因. A row is written once and then only changes its state (and the
// refund's fields with it).
inline constexpr QStringView kDepositNumberField = u"预交号";
inline constexpr QStringView kDepositAmountField = u"金额";
inline constexpr QStringView kDepositMethodField = u"方式";
// 1 for a deposit paid on a paper slip before the ledger was kept, entered afterwards: no cash
// of any shift.
inline constexpr QStringView kEnteredLaterField = u"补录";
inline constexpr QStringView kDepositStateField = u"状态";
inline constexpr QStringView kReturnedAtField = u"退还时间";
inline constexpr QStringView kReturnedByField = u"退还收费员";
inline constexpr QStringView kReturnMethodField = u"退还方式";
inline constexpr QStringView kReturnReasonField = u"退还原因";

// Open: still to be deducted by the discharge bill; Refunded: paid back whole; Settled: deducted
// by the discharge receipt stored under its inpatient number.
enum class DepositState { Open, Refunded, Settled };

// 有效, 已退, 已结算.
QString depositStateText(DepositState state);
std::optional<DepositState> depositStateFromText(QStringView text);

const storage::TableSchema& depositSchema();

}  // namespace store
