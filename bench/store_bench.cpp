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
#include "bench/million_receipts.h"
#include "bench/plain_sum.h"
#include "platform/local_zone.h"
#include "statistics/period_run.h"
#include "store/database.h"
#include "store/receipt_record.h"
#include "store/schema.h"
#include "store/table.h"

namespace {

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
    std::uniform_int_distribution<int> receipt(0, kMillionReceipts - 1);
    for (auto _ : state) {
        store::Table table(*database);
        table.open(store::kReceiptTable);
        const bool found =
            store::findByInpatientNumber(table, millionReceiptNumber(receipt(random)));
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
    // As the program runs.
    platform::readLocalZoneOnce();
    QCoreApplication application(argc, argv);
    store::Database sqlite(kMillionReceiptsFile);
    registerBenchmarks("SQLite", &withMillionReceipts(sqlite), false);
    std::unique_ptr<store::Database> postgres;
    const QString server = qEnvironmentVariable("BILLING_BENCH_PG");
    if (!server.isEmpty()) {
        postgres = std::make_unique<store::Database>(benchDatabaseOn(server));
        registerBenchmarks("PostgreSQL", &withMillionReceipts(*postgres), true);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
}
