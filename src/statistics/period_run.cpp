#include "statistics/period_run.h"

#include <array>

#include "store/database.h"
#include "store/table.h"

namespace statistics {

namespace {

// The positions of the fields a run reads, looked up once before the walk.
struct FieldPositions {
    int discharge;
    std::array<int, billing::kFeeCategoryCount> fees;
    int arrears;
    int total;

    explicit FieldPositions(const store::Table& table)
        : discharge(table.fieldIndex(QStringLiteral("出院日期"))),
          fees(),
          arrears(table.fieldIndex(QStringLiteral("欠费"))),
          total(table.fieldIndex(QStringLiteral("合计"))) {
        for (std::size_t i = 0; i < fees.size(); ++i) {
            fees[i] = table.fieldIndex(billing::kFeeCategories[i].fieldName);
        }
    }
};

ReceiptAmounts readAmounts(const store::Table& table, const FieldPositions& positions) {
    ReceiptAmounts amounts;
    for (std::size_t i = 0; i < amounts.fees.size(); ++i) {
        amounts.fees[i] = table.readField(positions.fees[i]).toDouble();
    }
    amounts.arrears = table.readField(positions.arrears).toDouble();
    amounts.total = table.readField(positions.total).toDouble();
    return amounts;
}

}  // namespace

PeriodRun sumPeriod(store::Database& database, const QDateTime& first, const QDateTime& last) {
    PeriodRun run;
    store::Table table(database);
    if (!table.open(store::kReceiptTable)) {
        run.error = table.lastError();
        return run;
    }
    const FieldPositions positions(table);
    table.goFirst();
    while (!table.pastLast()) {
        const QDateTime discharge = table.readField(positions.discharge).toDateTime();
        if (!(discharge > last) && !(discharge < first)) {
            run.sums.addReceipt(readAmounts(table, positions));
        }
        table.skip();
    }
    // A walk that broke off early would report partial sums as if they were the period's.
    run.error = table.lastError();
    table.close();
    return run;
}

}  // namespace statistics
