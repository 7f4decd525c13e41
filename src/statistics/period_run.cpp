#include "statistics/period_run.h"

#include "storage/storage_engine.h"
#include "store/database.h"
#include "store/schema.h"

namespace statistics {

PeriodRun sumPeriod(store::Database& database, const QDateTime& first, const QDateTime& last) {
    const store::TableSchema& receipts = store::receiptSchema();
    storage::PeriodQuery query{
        &receipts, receipts.indexOf(store::kDischargeDateField), first, last, {}};
    for (const receipt::FeeCategory& fee : receipt::kFeeCategories) {
        query.amountFields.append(receipts.indexOf(fee.fieldName));
    }
    query.amountFields +=
        {receipts.indexOf(store::kArrearsField), receipts.indexOf(store::kTotalField)};

    PeriodRun run;
    storage::PeriodTotals totals;
    QString reason;
    if (!database.engine().sumPeriod(query, &totals, &reason)) {
        run.error = database.unusableMessage(reason);
        return run;
    }
    PeriodSums& sums = run.sums;
    sums.statCount = static_cast<std::int32_t>(totals.count);
    for (std::size_t i = 0; i < sums.statSums.size(); ++i) {
        sums.statSums[i] = totals.sums[static_cast<qsizetype>(i)];
    }
    sums.statArrears = totals.sums[receipt::kFeeCategoryCount];
    sums.statTotal = totals.sums[receipt::kFeeCategoryCount + 1];
    return run;
}

}  // namespace statistics
