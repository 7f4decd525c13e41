// Storing a receipt, on each engine: a new receipt, and a correction of a stored one, each one
// transaction with its check, as the print command stores them. Every save waits for its commit to
// reach the disk, so these are the times a cashier waits between 确定 and the printout.
//
// SQLite: a fresh file beside the build. PostgreSQL: when BILLING_BENCH_PG names a server (a URI
// of its postgres database, as scripts/bench.sh gives it), a fresh database billing_save_bench.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QTemporaryDir>

#include "bench/bench_server.h"
#include "store/database.h"
#include "store/receipt_record.h"
#include "store/receipt_saving.h"
#include "store/schema.h"
#include "store/table.h"

namespace {

QVariantList receipt(const QString& number, const QString& name, common::Money bedFee) {
    receipt::ReceiptState state;
    state.bedFee = bedFee;
    state.totalAmount = bedFee;
    state.prepaidAmount = common::yuan(1000);
    state.refundAmount = state.prepaidAmount - bedFee;
    state.currentCashier = QStringLiteral("491MX");
    const QDateTime discharged(QDate(2026, 3, 9), QTime(0, 0));
    return store::receiptRecordValues(number, name, discharged.addDays(-4), discharged, state);
}

void BM_SaveNewReceipt(benchmark::State& state, store::Database* database) {
    static int next = 0;
    for (auto _ : state) {
        const store::SaveResult saved = store::saveNewReceipt(
            *database,
            receipt(QStringLiteral("N%1").arg(++next), QStringLiteral("张三"), common::yuan(65)));
        if (saved.outcome != store::SaveOutcome::Saved) {
            state.SkipWithError(qPrintable(saved.error));
            break;
        }
    }
}

// The receipt as 修改 calls it back.
store::LoadedReceipt loaded(store::Database& database, const QString& number) {
    store::Table table(database);
    if (!table.open(store::kReceiptTable) || !store::findByInpatientNumber(table, number)) {
        qFatal("cannot load receipt %s: %s", qPrintable(number), qPrintable(table.lastError()));
    }
    store::LoadedReceipt receipt{table.recordId(), {}};
    for (int field = 0; field < store::kReceiptFieldCount; ++field) {
        receipt.values.append(table.readField(field));
    }
    return receipt;
}

// Each correction changes the bed fee of the one receipt, so each replaces what the last wrote.
void BM_SaveCorrection(benchmark::State& state, store::Database* database) {
    const QString number = QStringLiteral("C1");
    // Google Benchmark runs this more than once; the receipt is stored at the first.
    const store::SaveOutcome stored =
        store::saveNewReceipt(*database, receipt(number, QStringLiteral("李四"), common::yuan(1)))
            .outcome;
    if (stored != store::SaveOutcome::Saved && stored != store::SaveOutcome::AlreadyStored) {
        state.SkipWithError("cannot store the receipt to correct");
        return;
    }
    store::LoadedReceipt current = loaded(*database, number);
    qint64 fen = 100;
    for (auto _ : state) {
        const QVariantList values =
            receipt(number, QStringLiteral("李四"), common::Money::fromFen(++fen));
        const store::SaveResult saved = store::saveCorrection(*database, current, values);
        if (saved.outcome != store::SaveOutcome::Saved) {
            state.SkipWithError(qPrintable(saved.error));
            break;
        }
        current.values = values;
    }
}

store::Database& prepared(store::Database& database) {
    QString error;
    if (!database.prepare(&error)) {
        qFatal("%s", qPrintable(error));
    }
    return database;
}

// A save waits for the disk or the server, outside this process's own time.
void registerBenchmarks(const char* engine, store::Database* database) {
    const auto name = [engine](const char* what) { return std::string(what) + '/' + engine; };
    benchmark::RegisterBenchmark(name("SaveNewReceipt").c_str(), BM_SaveNewReceipt, database)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MinTime(3);
    benchmark::RegisterBenchmark(name("SaveCorrection").c_str(), BM_SaveCorrection, database)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MinTime(3);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    // On the disk the program's files live on: a file system in memory would not flush at all.
    QTemporaryDir folder(QCoreApplication::applicationDirPath() +
                         QStringLiteral("/save-bench-XXXXXX"));
    store::Database sqlite(folder.filePath(QStringLiteral("billing.sqlite")));
    registerBenchmarks("SQLite", &prepared(sqlite));
    std::unique_ptr<store::Database> postgres;
    const QString server = qEnvironmentVariable("BILLING_BENCH_PG");
    if (!server.isEmpty()) {
        postgres = std::make_unique<store::Database>(
            freshBenchDatabaseOn(server, QStringLiteral("billing_save_bench")));
        registerBenchmarks("PostgreSQL", &prepared(*postgres));
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
}
