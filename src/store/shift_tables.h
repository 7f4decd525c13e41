#pragma once

#include <QStringView>

#include "storage/table_schema.h"

namespace store {

// The tables of a cashier's shift: the journal of receipt events, the voided receipts and the
// settlements that close shifts.

// Journal fields beyond the receipt's own names (住院号, 姓名, the amounts, 收费员).
inline constexpr QStringView kEventTimeField = u"时间";
inline constexpr QStringView kDeskField = u"电脑";
inline constexpr QStringView kEventKindField = u"事件";
// The settlement that took a journal row; 0 while its shift is open.
inline constexpr QStringView kSettlementNumberField = u"结算号";
// How the row's 补收 was taken and its 退款 paid (现金, 银行卡...); empty where the row moved no
// such amount. Rows written before methods were kept read as 现金. A deposit's row (预交, 预交退还)
// carries its amount in 预交, with the method it was taken in under 补收方式 and the method it
// was paid back in under 退款方式.
inline constexpr QStringView kSupplementMethodField = u"补收方式";
inline constexpr QStringView kRefundMethodField = u"退款方式";
// Why a receipt was printed again, as the cashier gave it; empty for every other event.
inline constexpr QStringView kReprintReasonField = u"补打原因";

// What a voided receipt carries beyond its 30 fields.
inline constexpr QStringView kVoidedAtField = u"作废时间";
inline constexpr QStringView kVoidedByField = u"作废收费员";
inline constexpr QStringView kVoidReasonField = u"作废原因";

// A settlement's fields beyond 结算号, 收费员, 电脑 and the amounts.
inline constexpr QStringView kSettledAtField = u"交班时间";
inline constexpr QStringView kFirstEventField = u"首笔时间";
inline constexpr QStringView kLastEventField = u"末笔时间";
inline constexpr QStringView kCashDueField = u"应交现金";
// The drawer as the cashier counted it at the handover: the float it started with, the cash it
// should hold (float + 应交现金), the cash counted, the difference (长款 positive, 短款 negative),
// the cashier's remark on it, and how it was counted (the notes of each denomination, or 合计 for
// a sum typed as one). A settlement made before drawers were counted has an empty 点钞明细.
inline constexpr QStringView kCashFloatField = u"备用金";
inline constexpr QStringView kExpectedCashField = u"应有现金";
inline constexpr QStringView kCountedCashField = u"实点现金";
inline constexpr QStringView kCashDifferenceField = u"长短款";
inline constexpr QStringView kDifferenceRemarkField = u"长短款说明";
inline constexpr QStringView kCountDetailField = u"点钞明细";
// The deposits the shift took and paid back: how many, and how much (added with the deposit
// ledger; a settlement made before it took none).
inline constexpr QStringView kDepositCountField = u"预交笔数";
inline constexpr QStringView kDepositRefundCountField = u"预交退还笔数";
inline constexpr QStringView kDepositsTakenField = u"预交金收取";
inline constexpr QStringView kDepositsRefundedField = u"预交金退还";

// The amounts every journal row and every settlement carries, in this order: the 19 fees, then
// these five. A receipt's spare field is none of them.
inline constexpr int kJournalAmountCount = 24;

// MZY_journal: one row per receipt event, only ever appended to: 时间, 收费员, 电脑, 事件, 住院号,
// 姓名, the amounts (each the change the event made), 结算号, 补收方式, 退款方式.
const storage::TableSchema& journalSchema();
// MZY_voided: a voided receipt's 30 fields as they were, then 作废时间, 作废收费员, 作废原因.
const storage::TableSchema& voidedReceiptSchema();
// MZY_voided_history: the earlier versions of voided receipts, moved out of MZY_history with
// them, so that a new receipt of the same number starts with no corrections.
const storage::TableSchema& voidedHistorySchema();
// MZY_settlement: 结算号, 收费员, 电脑, 交班时间, 首笔时间, 末笔时间, the number of events of each
// kind (新开, 更正, 作废, 补打), the amounts, 应交现金, then the counted drawer: 备用金, 应有现金,
// 实点现金, 长短款, 长短款说明, 点钞明细, and the deposits: 预交笔数, 预交退还笔数, 预交金收取,
// 预交金退还.
const storage::TableSchema& settlementSchema();

// The field name of each journal amount, in order.
QStringView journalAmountField(int amount);

}  // namespace store
