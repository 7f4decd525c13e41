#include "store/patients_in_hospital.h"

#include "store/database.h"
#include "store/deposit_table.h"
#include "store/schema.h"
#include "store/shift_tables.h"

namespace store {

namespace {

int field(QStringView name) {
    return depositSchema().indexOf(name);
}

}  // namespace

bool readPatientsInHospital(Database& database, const std::optional<QString>& after, int limit,
                            QList<PatientInHospital>* patients, QString* error) {
    const storage::RecordGrouping grouping{
        &depositSchema(),
        field(kInpatientNumberField),
        {{field(kDepositStateField), depositStateText(DepositState::Open)}},
        field(kPatientNameField),
        field(kDepositAmountField)};
    QList<storage::RecordGroup> groups;
    QString reason;
    if (!database.engine().groups(grouping, after, limit, &groups, &reason)) {
        *error = database.unusableMessage(reason);
        return false;
    }
    for (const storage::RecordGroup& group : groups) {
        patients->append({group.key, group.latest.toString(), group.count, group.sum});
    }
    return true;
}

bool readOpenDepositTotals(Database& database, OpenDepositTotals* totals, QString* error) {
    storage::RecordSearch search;
    search.tables = {&depositSchema()};
    search.texts = {{field(kDepositStateField), storage::TextMatch::Equals,
                     depositStateText(DepositState::Open)}};
    search.dateField = field(kEventTimeField);
    search.amountFields = {field(kDepositAmountField)};
    storage::SearchTotals found;
    QString reason;
    if (!database.engine().searchTotals(search, &found, &reason)) {
        *error = database.unusableMessage(reason);
        return false;
    }
    *totals = {found.count, found.sums.value(0)};
    return true;
}

}  // namespace store
