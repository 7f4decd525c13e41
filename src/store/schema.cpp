#include "store/schema.h"

#include "platform/password_hash.h"
#include "receipt/fee_category.h"
#include "store/cashier_password.h"
#include "store/database.h"
#include "store/deposit_table.h"
#include "store/shift_tables.h"

namespace store {

namespace {

// 2: the journal, the voided receipts with their earlier versions, and the settlements.
// 3: the journal's and the settlements' amounts hold any sum of receipts (numeric(20,2)).
// 4: the payment method of each journal row's amounts, and the counted drawer of a settlement.
// 5: the deposits of a stay, the deposits of each settlement, and the reason a reprint was
// made, in its journal row.
constexpr int kSchemaVersion = 5;
const QString kFirstCashier = QStringLiteral("491MX");

Column column(QStringView name, FieldKind kind) {
    return {name.toString(), kind};
}

TableSchema buildReceiptSchema() {
    TableSchema schema{kReceiptTable, {}};
    schema.columns = {
        column(kInpatientNumberField, FieldKind::Text),
        column(kPatientNameField, FieldKind::Text),
        column(kAdmissionDateField, FieldKind::DateTime),
        column(kDischargeDateField, FieldKind::DateTime),
    };
    for (const receipt::FeeCategory& fee : receipt::kFeeCategories) {
        schema.columns.append(column(fee.fieldName, FieldKind::Amount));
    }
    schema.columns += {
        column(kSpareField, FieldKind::Amount),   column(kTotalField, FieldKind::Amount),
        column(kPrepaidField, FieldKind::Amount), column(kSupplementField, FieldKind::Amount),
        column(kRefundField, FieldKind::Amount),  column(kArrearsField, FieldKind::Amount),
        column(kCashierField, FieldKind::Text),
    };
    return schema;
}

// Hashed when a new cashier table is made, not at every start: a hash takes a while.
bool firstCashier(QList<storage::RecordValues>* records, QString* reason) {
    const std::optional<QString> hash = platform::hashPassword(kInitialPassword.toString());
    if (!hash) {
        *reason = platform::kPasswordHashFailure;
        return false;
    }
    *records = {{kFirstCashier, *hash}};
    return true;
}

TableSchema buildHistorySchema() {
    TableSchema schema = receiptSchema();
    schema.name = kReceiptTable + QStringLiteral("_history");
    schema.columns.append(column(kChangedAtField, FieldKind::DateTime));
    return schema;
}

}  // namespace

const TableSchema& receiptSchema() {
    static const TableSchema schema = buildReceiptSchema();
    return schema;
}

const TableSchema& cashierSchema() {
    static const TableSchema schema{
        kCashierTable,
        {column(kCashierField, FieldKind::Text), column(kPasswordField, FieldKind::Text)}};
    return schema;
}

const TableSchema& receiptHistorySchema() {
    static const TableSchema schema = buildHistorySchema();
    return schema;
}

const storage::SchemaDefinition& schemaDefinition() {
    static const storage::SchemaDefinition definition = [] {
        const TableSchema& receipts = receiptSchema();
        const TableSchema& cashiers = cashierSchema();
        const TableSchema& history = receiptHistorySchema();
        const int number = receipts.indexOf(kInpatientNumberField);
        const int discharge = receipts.indexOf(kDischargeDateField);
        storage::SchemaDefinition schema;
        schema.version = kSchemaVersion;
        schema.tables = {
            {&receipts, {number, discharge}, {}, true, {number}, {discharge}},
            {&cashiers, {}, firstCashier, true, {}, {}},
            // The register asks of every receipt it lists whether it was corrected.
            {&history, {number}, {}, false, {}, {}},
            // A database that can only be read is read without them. A receipt's payment is
            // read from the rows of its number, and a day's sheet from the rows of that day.
            {&journalSchema(),
             {journalSchema().indexOf(kSettlementNumberField),
              journalSchema().indexOf(kInpatientNumberField),
              journalSchema().indexOf(kEventTimeField)},
             {},
             false,
             {},
             {}},
            {&voidedReceiptSchema(),
             {voidedReceiptSchema().indexOf(kInpatientNumberField)},
             {},
             false,
             {},
             {}},
            {&voidedHistorySchema(), {}, {}, false, {}, {}},
            {&settlementSchema(),
             {settlementSchema().indexOf(kSettlementNumberField)},
             {},
             false,
             {},
             {}},
            // The billing window reads a number's deposits; the list of patients in hospital
            // reads the open ones number after number.
            {&depositSchema(),
             {depositSchema().indexOf(kInpatientNumberField),
              depositSchema().indexOf(kDepositNumberField)},
             {},
             false,
             {},
             {},
             {{depositSchema().indexOf(kDepositStateField),
               depositSchema().indexOf(kInpatientNumberField)}}},
        };
        return schema;
    }();
    return definition;
}

const TableSchema* schemaForTable(QStringView tableName) {
    for (const storage::TableDefinition& table : schemaDefinition().tables) {
        if (table.schema->name == tableName) {
            return table.schema;
        }
    }
    return nullptr;
}

}  // namespace store
