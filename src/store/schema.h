#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include "storage/storage_engine.h"
#include "storage/table_schema.h"

namespace store {

using storage::Column;
using storage::FieldKind;
using storage::TableSchema;

// Field names that the program reads by name.
inline constexpr QStringView kInpatientNumberField = u"住院号";
inline constexpr QStringView kPatientNameField = u"姓名";
inline constexpr QStringView kAdmissionDateField = u"入院日期";
inline constexpr QStringView kDischargeDateField = u"出院日期";
inline constexpr QStringView kSpareField = u"备用";
inline constexpr QStringView kTotalField = u"合计";
inline constexpr QStringView kPrepaidField = u"预交";
inline constexpr QStringView kSupplementField = u"补收";
inline constexpr QStringView kRefundField = u"退款";
inline constexpr QStringView kArrearsField = u"欠费";
inline constexpr QStringView kCashierField = u"收费员";
inline constexpr QStringView kPasswordField = u"密码";
// The history table's extra column: when the copied record was replaced.
inline constexpr QStringView kChangedAtField = u"修改时间";

inline constexpr int kReceiptFieldCount = 30;

// The receipts, MZY: 30 columns.
const TableSchema& receiptSchema();
// The cashiers, USER.
const TableSchema& cashierSchema();
// Every receipt record as it was before each rewrite, with the time of the change.
const TableSchema& receiptHistorySchema();

// The program's tables in the order in which a new database creates them, with their indexes
// and the first cashier, who lets a new installation log in at once.
const storage::SchemaDefinition& schemaDefinition();

// The schema of a table the program opens by name; nullptr for any other name.
const TableSchema* schemaForTable(QStringView tableName);

}  // namespace store
