#include "store/schema.h"

#include "billing/fee_category.h"
#include "store/database.h"

namespace store {

namespace {

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
    for (const billing::FeeCategory& fee : billing::kFeeCategories) {
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

TableSchema buildHistorySchema() {
    TableSchema schema = receiptSchema();
    schema.name = kReceiptTable + QStringLiteral("_history");
    schema.columns.append(column(kChangedAtField, FieldKind::DateTime));
    return schema;
}

}  // namespace

int TableSchema::indexOf(QStringView columnName) const {
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].name == columnName) {
            return i;
        }
    }
    return -1;
}

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

QList<const TableSchema*> allTableSchemas() {
    return {&receiptSchema(), &cashierSchema(), &receiptHistorySchema()};
}

const TableSchema* schemaForTable(QStringView tableName) {
    for (const TableSchema* schema : allTableSchemas()) {
        if (schema->name == tableName) {
            return schema;
        }
    }
    return nullptr;
}

QString inpatientNumberIndexName() {
    return kReceiptTable + QStringLiteral("_") + kInpatientNumberField.toString();
}

}  // namespace store
