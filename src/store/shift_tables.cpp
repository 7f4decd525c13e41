#include "store/shift_tables.h"

#include "receipt/fee_category.h"
#include "receipt/payment_methods.h"
#include "store/database.h"
#include "store/journal_kind.h"
#include "store/schema.h"

namespace store {

namespace {

using storage::Column;
using storage::FieldKind;
using storage::TableSchema;

constexpr QStringView kLastAmounts[] = {kTotalField, kPrepaidField, kSupplementField, kRefundField,
                                        kArrearsField};

Column column(QStringView name, FieldKind kind) {
    return {name.toString(), kind};
}

// A journal row's amounts are the change an event made (a correction's is the difference of two
// amounts), a settlement's the sums of its rows: wider than one receipt's amount.
Column sumColumn(QStringView name) {
    return {name.toString(), FieldKind::Amount, true};
}

// A column added by a later schema version; what the rows already there read as.
Column addedColumn(Column column, const QString& earlierRows) {
    column.addedLater = earlierRows;
    return column;
}

void appendAmounts(TableSchema& schema) {
    for (int amount = 0; amount < kJournalAmountCount; ++amount) {
        schema.columns.append(sumColumn(journalAmountField(amount)));
    }
}

TableSchema buildJournalSchema() {
    TableSchema schema{
        kReceiptTable + QStringLiteral("_journal"),
        {column(kEventTimeField, FieldKind::DateTime), column(kCashierField, FieldKind::Text),
         column(kDeskField, FieldKind::Text), column(kEventKindField, FieldKind::Text),
         column(kInpatientNumberField, FieldKind::Text),
         column(kPatientNameField, FieldKind::Text)}};
    appendAmounts(schema);
    schema.columns.append(column(kSettlementNumberField, FieldKind::Integer));
    // Every amount changed hands in cash before methods were kept.
    const QString cash = receipt::kCashMethod.toString();
    schema.columns += {addedColumn(column(kSupplementMethodField, FieldKind::Text), cash),
                       addedColumn(column(kRefundMethodField, FieldKind::Text), cash)};
    // Reprints before version 5 gave no reason.
    schema.columns.append(addedColumn(column(kReprintReasonField, FieldKind::Text), QString()));
    return schema;
}

TableSchema buildVoidedSchema() {
    TableSchema schema = receiptSchema();
    schema.name = kReceiptTable + QStringLiteral("_voided");
    schema.columns +=
        {column(kVoidedAtField, FieldKind::DateTime), column(kVoidedByField, FieldKind::Text),
         column(kVoidReasonField, FieldKind::Text)};
    return schema;
}

TableSchema buildSettlementSchema() {
    TableSchema schema{
        kReceiptTable + QStringLiteral("_settlement"),
        {column(kSettlementNumberField, FieldKind::Integer), column(kCashierField, FieldKind::Text),
         column(kDeskField, FieldKind::Text), column(kSettledAtField, FieldKind::DateTime),
         column(kFirstEventField, FieldKind::DateTime),
         column(kLastEventField, FieldKind::DateTime)}};
    for (const JournalKind kind : kJournalKinds) {
        schema.columns.append(column(eventCountField(kind), FieldKind::Integer));
    }
    appendAmounts(schema);
    schema.columns.append(sumColumn(kCashDueField));
    for (const QStringView amount :
         {kCashFloatField, kExpectedCashField, kCountedCashField, kCashDifferenceField}) {
        schema.columns.append(addedColumn(sumColumn(amount), {}));
    }
    schema.columns += {addedColumn(column(kDifferenceRemarkField, FieldKind::Text), {}),
                       addedColumn(column(kCountDetailField, FieldKind::Text), {})};
    for (const QStringView count : {kDepositCountField, kDepositRefundCountField}) {
        schema.columns.append(addedColumn(column(count, FieldKind::Integer), {}));
    }
    for (const QStringView amount : {kDepositsTakenField, kDepositsRefundedField}) {
        schema.columns.append(addedColumn(sumColumn(amount), {}));
    }
    return schema;
}

}  // namespace

QStringView journalAmountField(int amount) {
    if (amount < receipt::kFeeCategoryCount) {
        return receipt::kFeeCategories[static_cast<std::size_t>(amount)].fieldName;
    }
    return kLastAmounts[amount - receipt::kFeeCategoryCount];
}

const TableSchema& journalSchema() {
    static const TableSchema schema = buildJournalSchema();
    return schema;
}

const TableSchema& voidedReceiptSchema() {
    static const TableSchema schema = buildVoidedSchema();
    return schema;
}

const TableSchema& voidedHistorySchema() {
    static const TableSchema schema = [] {
        TableSchema history = receiptHistorySchema();
        history.name = kReceiptTable + QStringLiteral("_voided_history");
        return history;
    }();
    return schema;
}

const TableSchema& settlementSchema() {
    static const TableSchema schema = buildSettlementSchema();
    return schema;
}

}  // namespace store
