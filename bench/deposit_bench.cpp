// The deposit ledger, on each engine: taking a deposit against saving a discharge receipt (both
// one transaction under the number's lock, waiting for the commit to reach the disk), and the
// first page of 在院 over 100,000 open deposits of 25,000 inpatient numbers.
//
// SQLite: a fresh file beside the build. PostgreSQL: when BILLING_BENCH_PG names a server (as
// scripts/bench.sh gives it), a fresh database billing_deposit_bench.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QTemporaryDir>

#include "bench/bench_server.h"
#include "bench/plain_query.h"
#include "deposit/in_hospital_model.h"
#include "store/database.h"
#include "store/deposit_ledger.h"
#include "store/patients_in_hospital.h"
#include "store/receipt_record.h"
#include "store/receipt_saving.h"
#include "store/schema.h"

namespace {

constexpr int kOpenDeposits = 100'000;
constexpr int kDepositsANumber = 4;

QVariantList receipt(const QString& number) {
    receipt::ReceiptState state;
    state.bedFee = common::yuan(65);
    state.totalAmount = state.bedFee;
    state.prepaidAmount = common::yuan(1000);
    state.refundAmount = state.prepaidAmount - state.bedFee;
    state.currentCashier = QStringLiteral("491MX");
    const QDateTime discharged(QDate(2026, 3, 9), QTime(0, 0));
    return store::receiptRecordValues(number, QStringLiteral("张三"), discharged.addDays(-4),
                                      discharged, state);
}

void BM_SaveNewReceipt(benchmark::State& state, store::Database* database) {
    static int next = 0;
    for (auto _ : state) {
        const store::SaveResult saved =
            store::saveNewReceipt(*database, receipt(QStringLiteral("9%1").arg(++next)));
        if (saved.outcome != store::SaveOutcome::Saved) {
            state.SkipWithError(qPrintable(saved.error));
            break;
        }
    }
}

// Deposits of numbers that have no receipt, as a ward takes them during the stay.
void BM_TakeDeposit(benchmark::State& state, store::Database* database) {
    static int next = 0;
    for (auto _ : state) {
        const store::DepositResult taken =
            store::takeDeposit(*database, {QStringLiteral("8%1").arg(++next % 1000),
                                           QStringLiteral("张三"),
                                           common::yuan(500),
                                           QStringLiteral("现金"),
                                           QStringLiteral("491MX"),
                                           {}});
        if (taken.outcome != store::DepositOutcome::Done) {
            state.SkipWithError(qPrintable(taken.error));
            break;
        }
    }
}

// 100,000 open deposits, kDepositsANumber a number, stored in a few large transactions.
void fillLedger(store::Database& database) {
    const storage::TableSchema& table = store::depositSchema();
    constexpr int kBatch = 1000;
    for (int first = 0; first < kOpenDeposits; first += kBatch) {
        QList<storage::NewRecord> records;
        for (int i = first; i < first + kBatch; ++i) {
            store::Deposit deposit;
            deposit.number = i + 1;
            deposit.time = QDateTime(QDate(2026, 1, 1), QTime(8, 0)).addSecs(i * 60);
            deposit.cashier = QStringLiteral("491MX");
            deposit.desk = QStringLiteral("DESK");
            deposit.inpatientNumber = QString::number(1'000'000 + i / kDepositsANumber);
            deposit.patientName = QStringLiteral("病人%1").arg(i / kDepositsANumber);
            deposit.amount = common::yuan(500);
            deposit.method = QStringLiteral("现金");
            records.append({&table, store::depositValues(deposit), -1});
        }
        const storage::TransactionResult stored = database.engine().transact(
            QStringLiteral("deposit bench"), [&](storage::RecordWriter& writer) {
                return writer.insertRecords(records).has_value();
            });
        if (stored.outcome != storage::TransactionOutcome::Committed) {
            qFatal("cannot fill the ledger: %s", qPrintable(stored.reason));
        }
    }
}

// What the 在院 page reads when it is shown: its first rows and the sums line.
void BM_InHospitalFirstPage(benchmark::State& state, store::Database* database) {
    for (auto _ : state) {
        QList<store::PatientInHospital> page;
        store::OpenDepositTotals totals;
        QString error;
        if (!store::readPatientsInHospital(*database, std::nullopt,
                                           deposit::InHospitalModel::kPageRows, &page, &error) ||
            !store::readOpenDepositTotals(*database, &totals, &error)) {
            state.SkipWithError(qPrintable(error));
            break;
        }
        benchmark::DoNotOptimize(page);
    }
}

store::Database& prepared(store::Database& database) {
    QString error;
    if (!database.prepare(&error)) {
        qFatal("%s", qPrintable(error));
    }
    return database;
}

void registerBenchmarks(const char* engine, store::Database* database) {
    const auto name = [engine](const char* what) { return std::string(what) + '/' + engine; };
    // A save waits for the disk or the server, outside this process's own time.
    using Run = void (*)(benchmark::State&, store::Database*);
    for (const auto& [what, run] :
         {std::pair<const char*, Run>{"SaveNewReceipt", BM_SaveNewReceipt},
          std::pair<const char*, Run>{"TakeDeposit", BM_TakeDeposit}}) {
        benchmark::RegisterBenchmark(name(what).c_str(), run, database)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->MinTime(3);
    }
    benchmark::RegisterBenchmark(name("InHospitalFirstPage").c_str(), BM_InHospitalFirstPage,
                                 database)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTemporaryDir folder(QCoreApplication::applicationDirPath() +
                         QStringLiteral("/deposit-bench-XXXXXX"));
    store::Database sqlite(folder.filePath(QStringLiteral("billing.sqlite")));
    fillLedger(prepared(sqlite));
    registerBenchmarks("SQLite", &sqlite);
    std::unique_ptr<store::Database> postgres;
    const QString server = qEnvironmentVariable("BILLING_BENCH_PG");
    if (!server.isEmpty()) {
        postgres = std::make_unique<store::Database>(
            freshBenchDatabaseOn(server, QStringLiteral("billing_deposit_bench")));
        fillLedger(prepared(*postgres));
        // The server's autovacuum gathers the statistics of a table filled this much within a
        // minute; the bench does not wait for it.
        PlainQuery analyze(postgres->location(), QStringLiteral("ANALYZE \"MZY_deposit\""), 0);
        qint64 rows = 0;
        if (!analyze.run(&rows)) {
            qFatal("%s", qPrintable(analyze.error()));
        }
        registerBenchmarks("PostgreSQL", postgres.get());
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
}
