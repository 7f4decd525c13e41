#include "statistics/period_run.h"

#include <QStringList>
#include <array>

#include "store/database.h"
#include "store/record_filter.h"
#include "store/schema.h"
#include "store/table.h"

namespace statistics {

namespace {

using store::kArrearsField;
using store::kDischargeDateField;
using store::kTotalField;

// The fields a run sums; the walk fetches no others.
QStringList summedFieldNames() {
    QStringList names;
    for (const billing::FeeCategory& fee : billing::kFeeCategories) {
        names.append(fee.fieldName.toString());
    }
    names += {kArrearsField.toString(), kTotalField.toString()};
    return names;
}

// The positions of the fields a run reads, looked up once before the walk.
struct FieldPositions {
    std::array<int, billing::kFeeCategoryCount> fees;
    int arrears;
    int total;

    explicit FieldPositions(const store::Table& table)
        : fees(), arrears(table.fieldIndex(kArrearsField)), total(table.fieldIndex(kTotalField)) {
        for (std::size_t i = 0; i < fees.size(); ++i) {
            fees[i] = table.fieldIndex(billing::kFeeCategories[i].fieldName);
        }
    }
};

ReceiptAmounts readAmounts(const store::Table& table, const FieldPositions& positions) {
    ReceiptAmounts amounts;
    for (std::size_t i = 0; i < amounts.fees.size(); ++i) {
        amounts.fees[i] = table.readAmount(positions.fees[i]).value_or(common::Money());
    }
    amounts.arrears = table.readAmount(positions.arrears).value_or(common::Money());
    amounts.total = table.readAmount(positions.total).value_or(common::Money());
    return amounts;
}

// The receipts that count: discharged neither before first nor after last. The test runs
// inside SQLite's scan, so a receipt outside the period costs little more than reading its date.
store::RecordFilter dischargedWithin(const QDateTime& first, const QDateTime& last) {
    store::RecordFilter filter;
    filter.fieldName = kDischargeDateField.toString();
    filter.passes = [first, last](const QVariant& value) {
        const QDateTime discharge = value.toDateTime();
        return !(discharge > last) && !(discharge < first);
    };
    return filter;
}

}  // namespace

PeriodRun sumPeriod(store::Database& database, const QDateTime& first, const QDateTime& last) {
    PeriodRun run;
    store::Table table(database);
    if (!table.open(store::kReceiptTable, summedFieldNames(), dischargedWithin(first, last))) {
        run.error = table.lastError();
        return run;
    }
    const FieldPositions positions(table);
    for (table.goFirst(); !table.pastLast(); table.skip()) {
        run.sums.addReceipt(readAmounts(table, positions));
    }
    // A walk that broke off early would report partial sums as if they were the period's.
    run.error = table.lastError();
    table.close();
    return run;
}

}  // namespace statistics
