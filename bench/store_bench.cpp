// The receipt store over a million receipts, on each engine: the look-up by inpatient number and
// the statistics run over the whole table and over one month, beside the engine's own plain SUM
// query over the same rows as the floor.
//
// SQLite: a file in /tmp, built once. PostgreSQL: when BILLING_BENCH_PG names a server (a URI of
// its postgres database, as scripts/bench.sh gives it), a database billing_bench there, built once.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QStringList>
#include <random>

#include "bench/bench_server.h"
#include "bench/plain_sum.h"
#include "billing/fee_category.h"
#include "statistics/period_run.h"
#include "storage/storage_engine.h"
#include "store/database.h"
#include "store/receipt_record.h"
#include "store/schema.h"
#include "store/table.h"

namespace {

constexpr int kReceiptCount = 1'000'000;
constexpr int kReceiptsPerDay = 1000;
const QDate kFirstDischarge(2021, 1, 1);

QString inpatientNumber(int i) {
    return QStringLiteral("ZY%1").arg(i, 7, 10, QLatin1Char('0'));
}

// A stay of a few days, discharged in date order over about three years, with about half of the
// fee categories used.
QVariantList generatedReceipt(int i, std::mt19937& random) {
    static const QStringList names{QStringLiteral("张三"), QStringLiteral("李四"),
                                   QStringLiteral("王小五"), QStringLiteral("赵六"),
                                   QStringLiteral("欧阳明")};
    std::uniform_int_distribution<int> fen(0, 500'000);
    std::uniform_int_distribution<int> stay(0, 30);
    billing::ReceiptState state;
    for (const billing::FeeCategory& fee : billing::kFeeCategories) {
        state.*fee.variable =
            random() % 2 == 0 ? common::Money() : common::Money::fromFen(fen(random));
        state.totalAmount += state.*fee.variable;
    }
    state.prepaidAmount = common::Money::fromFen(100'000 * (random() % 10));
    state.refundAmount = std::max(common::Money(), state.prepaidAmount - state.totalAmount);
    state.arrearsAmount = std::max(common::Money(), state.totalAmount - state.prepaidAmount);
    state.currentCashier = names[i % names.size()];
    const QDateTime discharged(kFirstDischarge.addDays(i / kReceiptsPerDay), QTime(0, 0));
    return store::receiptRecordValues(inpatientNumber(i), names[random() % names.size()],
                                      discharged.addDays(-stay(random)), discharged, state);
}

bool hasAllReceipts(store::Database& database) {
    store::Table table(database);
    return table.open(store::kReceiptTable, {store::kInpatientNumberField.toString()}) &&
           store::findByInpatientNumber(table, inpatientNumber(kReceiptCount - 1));
}

// All in one transaction: a million single-record transactions would take hours of flushes.
void fill(store::Database& database) {
    const storage::TransactionResult filled =
        database.engine().transact({}, [](storage::RecordWriter& writer) {
            std::mt19937 random(20240301);
            for (int i = 0; i < kReceiptCount; ++i) {
                if (!writer.insert(store::receiptSchema(), generatedReceipt(i, random))) {
                    return false;
                }
            }
            return true;
        });
    if (filled.outcome != storage::TransactionOutcome::Committed) {
        qFatal("cannot fill the bench database: %s", qPrintable(filled.reason));
    }
}

store::Database& prepared(store::Database& database) {
    QString error;
    if (!database.prepare(&error)) {
        qFatal("%s", qPrintable(error));
    }
    if (!hasAllReceipts(database)) {
        fill(database);
    }
    return database;
}

enum class Range { Everything, OneMonth };

std::pair<QDateTime, QDateTime> period(Range range) {
    if (range == Range::Everything) {
        return {QDateTime(QDate(2000, 1, 1), QTime(0, 0)),
                QDateTime(QDate(2099, 1, 1), QTime(0, 0))};
    }
    return {QDateTime(QDate(2022, 3, 1), QTime(0, 0)), QDateTime(QDate(2022, 3, 31), QTime(0, 0))};
}

void BM_FindByInpatientNumber(benchmark::State& state, store::Database* database) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> receipt(0, kReceiptCount - 1);
    for (auto _ : state) {
        store::Table table(*database);
        table.open(store::kReceiptTable);
        const bool found = store::findByInpatientNumber(table, inpatientNumber(receipt(random)));
        benchmark::DoNotOptimize(table.readField(store::kPatientNameField));
        table.close();
        if (!found) {
            state.SkipWithError("receipt not found");
        }
    }
}

void BM_StatisticsRun(benchmark::State& state, store::Database* database, Range range) {
    const auto [first, last] = period(range);
    std::int32_t count = 0;
    for (auto _ : state) {
        const statistics::PeriodRun run = statistics::sumPeriod(*database, first, last);
        if (!run.error.isEmpty()) {
            state.SkipWithError(qPrintable(run.error));
            break;
        }
        count = run.sums.statCount;
        benchmark::DoNotOptimize(run.sums.statTotal);
    }
    state.counters["receipts"] = count;
}

// The floor: the engine summing the same columns itself, as REAL or numeric, over the whole table
// or through the date's index.
void BM_PlainSumQuery(benchmark::State& state, store::Database* database, Range range) {
    PlainSum sum(database->location(),
                 range == Range::Everything ? PlainSum::Period() : PlainSum::Period(period(range)));
    qint64 count = 0;
    for (auto _ : state) {
        if (!sum.run(&count)) {
            state.SkipWithError(qPrintable(sum.error()));
            break;
        }
    }
    state.counters["receipts"] = static_cast<double>(count);
}

// A server does its work outside this process: there wall-clock time is what a cashier waits,
// while an embedded engine's work is this process's own time.
void registerBenchmarks(const char* engine, store::Database* database, bool onServer) {
    const auto name = [engine](const char* what) { return std::string(what) + '/' + engine; };
    const auto timed = [onServer](benchmark::internal::Benchmark* benchmark) {
        return onServer ? benchmark->UseRealTime() : benchmark;
    };
    timed(benchmark::RegisterBenchmark(name("FindByInpatientNumber").c_str(),
                                       BM_FindByInpatientNumber, database))
        ->Unit(benchmark::kMicrosecond);
    for (const auto& [range, label] :
         {std::pair{Range::Everything, "/everything"}, std::pair{Range::OneMonth, "/one_month"}}) {
        timed(benchmark::RegisterBenchmark((name("StatisticsRun") + label).c_str(),
                                           BM_StatisticsRun, database, range))
            ->Unit(benchmark::kMillisecond)
            ->MinTime(3);
        timed(benchmark::RegisterBenchmark((name("PlainSumQuery") + label).c_str(),
                                           BM_PlainSumQuery, database, range))
            ->Unit(benchmark::kMillisecond)
            ->MinTime(3);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    store::Database sqlite(QStringLiteral("/tmp/billing-bench-1m.sqlite"));
    registerBenchmarks("SQLite", &prepared(sqlite), false);
    std::unique_ptr<store::Database> postgres;
    const QString server = qEnvironmentVariable("BILLING_BENCH_PG");
    if (!server.isEmpty()) {
        postgres = std::make_unique<store::Database>(benchDatabaseOn(server));
        registerBenchmarks("PostgreSQL", &prepared(*postgres), true);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
}
