#include "store/deposit_table.h"

#include "store/database.h"
#include "store/schema.h"
#include "store/shift_tables.h"

namespace store {

namespace {

storage::Column column(QStringView name, storage::FieldKind kind) {
    return {name.toString(), kind};
}

}  // namespace

QString depositStateText(DepositState state) {
    switch (state) {
        case DepositState::Open:
            return QStringLiteral("有效");
        case DepositState::Refunded:
            return QStringLiteral("已退");
        case DepositState::Settled:
            break;
    }
    return QStringLiteral("已结算");
}

std::optional<DepositState> depositStateFromText(QStringView text) {
    for (const DepositState state :
         {DepositState::Open, DepositState::Refunded, DepositState::Settled}) {
        if (depositStateText(state) == text) {
            return state;
        }
    }
    return std::nullopt;
}

const storage::TableSchema& depositSchema() {
    using storage::FieldKind;
    static const storage::TableSchema schema{
        kReceiptTable + QStringLiteral("_deposit"),
        {column(kDepositNumberField, FieldKind::Integer),
         column(kEventTimeField, FieldKind::DateTime), column(kCashierField, FieldKind::Text),
         column(kDeskField, FieldKind::Text), column(kInpatientNumberField, FieldKind::Text),
         column(kPatientNameField, FieldKind::Text), column(kDepositAmountField, FieldKind::Amount),
         column(kDepositMethodField, FieldKind::Text),
         column(kEnteredLaterField, FieldKind::Integer),
         column(kDepositStateField, FieldKind::Text), column(kReturnedAtField, FieldKind::DateTime),
         column(kReturnedByField, FieldKind::Text), column(kReturnMethodField, FieldKind::Text),
         column(kReturnReasonField, FieldKind::Text)}};
    return schema;
}

}  // namespace store
