// The register over the million receipts, on each engine, every figure beside its floor in the
// same run:
// - the list's first page for a number prefix, a name part within one month and one cashier's
//   month, beside the engine's own query for the same page;
// - the count and sums of a month's receipts, beside the engine's own count and SUM;
// - a year of receipts (365,000) exported to CSV, beside the engine's own client writing the same
//   rows as CSV (sqlite3 -csv, psql \copy), and to XLSX.
//
// SQLite: the file that store_bench builds. PostgreSQL: when BILLING_BENCH_PG names a server (as
// scripts/bench.sh gives it), its database billing_bench, built once.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include "bench/bench_server.h"
#include "bench/million_receipts.h"
#include "bench/plain_query.h"
#include "platform/local_zone.h"
#include "register/receipt_export.h"
#include "register/receipt_list_model.h"
#include "store/database.h"
#include "store/receipt_search.h"
#include "store/schema.h"

namespace {

const QDate kMonthFirst(2022, 3, 1);
const QDate kMonthLast(2022, 3, 31);
const QDate kYearFirst(2022, 1, 1);
const QDate kYearLast(2022, 12, 31);
const QString kExportFolder = QStringLiteral("/tmp/register-bench");

enum class Engine { Sqlite, Postgres };

// One way of looking for receipts, as the window asks for it and as the engine's own query.
struct PageCase {
    const char* name;
    store::ReceiptFilter filter;
    // The WHERE clause of the engine's own query: SQLite's, then PostgreSQL's.
    const char* sqliteWhere;
    const char* postgresWhere;
};

const std::vector<PageCase>& pageCases() {
    // A cashier who looks a number up has set the dates around every stored discharge.
    static const std::vector<PageCase> cases{
        {"number_prefix",
         {QStringLiteral("ZY01234"), {}, QDate(2021, 1, 1), QDate(2023, 12, 31), {}, false},
         R"("住院号" GLOB 'ZY01234*')",
         R"("住院号" LIKE 'ZY01234%')"},
        {"name_part_month",
         {{}, QStringLiteral("小"), kMonthFirst, kMonthLast, {}, false},
         R"("出院日期" >= '2022-03-01' AND "出院日期" < '2022-04-01' AND instr("姓名", '小') > 0)",
         R"("出院日期" >= '2022-03-01' AND "出院日期" < '2022-04-01' AND strpos("姓名", '小') > 0)"},
        {"cashier_month",
         {{}, {}, kMonthFirst, kMonthLast, QStringLiteral("李四"), false},
         R"("出院日期" >= '2022-03-01' AND "出院日期" < '2022-04-01' AND "收费员" = '李四')",
         R"("出院日期" >= '2022-03-01' AND "出院日期" < '2022-04-01' AND "收费员" = '李四')"},
    };
    return cases;
}

QString identityOf(Engine engine) {
    return engine == Engine::Sqlite ? QStringLiteral("rowid") : QStringLiteral("\"序号\"");
}

// Every receipt field in the table's order, then the status, as the export writes them.
QString exportedColumns() {
    QStringList columns;
    for (const storage::Column& column : store::receiptSchema().columns) {
        columns.append(QLatin1Char('"') + column.name + QLatin1Char('"'));
    }
    columns.append(QStringLiteral(
        "CASE WHEN EXISTS (SELECT 1 FROM \"MZY_history\" AS h WHERE h.\"住院号\" = t.\"住院号\") "
        "THEN '已更正' ELSE '正常' END AS \"状态\""));
    return columns.join(QStringLiteral(", "));
}

QString yearQuery(Engine engine) {
    return QStringLiteral(
               "SELECT %1 FROM \"MZY\" AS t WHERE \"出院日期\" >= '2022-01-01' AND "
               "\"出院日期\" < '2023-01-01' ORDER BY \"出院日期\" DESC, %2 DESC")
        .arg(exportedColumns(), identityOf(engine));
}

void BM_FirstPage(benchmark::State& state, store::Database* database, const PageCase* page) {
    receipt_register::ReceiptListModel model(*database);
    for (auto _ : state) {
        QString error;
        if (!model.search(page->filter, &error)) {
            state.SkipWithError(qPrintable(error));
            break;
        }
    }
    state.counters["rows"] = model.rowCount();
}

void BM_PlainFirstPage(benchmark::State& state, store::Database* database, Engine engine,
                       const PageCase* page) {
    PlainQuery query(database->location(),
                     QStringLiteral("SELECT \"住院号\", \"姓名\", \"入院日期\", \"出院日期\", "
                                    "\"合计\", \"预交\", \"补收\", \"退款\", \"欠费\", \"收费员\" "
                                    "FROM \"MZY\" WHERE %1 ORDER BY \"出院日期\" DESC, %2 DESC "
                                    "LIMIT %3")
                         .arg(QString::fromUtf8(engine == Engine::Sqlite ? page->sqliteWhere
                                                                         : page->postgresWhere),
                              identityOf(engine))
                         .arg(receipt_register::ReceiptListModel::kPageRows),
                     10);
    qint64 rows = 0;
    for (auto _ : state) {
        if (!query.run(&rows)) {
            state.SkipWithError(qPrintable(query.error()));
            break;
        }
    }
    state.counters["rows"] = static_cast<double>(rows);
}

void BM_MonthTotals(benchmark::State& state, store::Database* database) {
    store::ReceiptSearch search(*database, {{}, {}, kMonthFirst, kMonthLast, {}, false}, {});
    store::ReceiptTotals totals;
    for (auto _ : state) {
        QString error;
        if (!search.totals(&totals, &error)) {
            state.SkipWithError(qPrintable(error));
            break;
        }
    }
    state.counters["receipts"] = static_cast<double>(totals.count);
}

void BM_PlainMonthTotals(benchmark::State& state, store::Database* database) {
    PlainQuery query(database->location(),
                     QStringLiteral("SELECT count(*), sum(\"合计\"), sum(\"补收\"), sum(\"退款\"), "
                                    "sum(\"欠费\") FROM \"MZY\" WHERE \"出院日期\" >= '2022-03-01' "
                                    "AND \"出院日期\" < '2022-04-01'"),
                     5);
    qint64 rows = 0;
    for (auto _ : state) {
        if (!query.run(&rows)) {
            state.SkipWithError(qPrintable(query.error()));
            break;
        }
    }
}

void BM_ExportYear(benchmark::State& state, store::Database* database, const char* extension) {
    const QString path = kExportFolder + QStringLiteral("/year.") + QLatin1StringView(extension);
    qint64 written = 0;
    for (auto _ : state) {
        const receipt_register::ExportResult result = receipt_register::exportReceipts(
            database->location(), {{}, {}, kYearFirst, kYearLast, {}, false}, path, {});
        if (result.outcome != receipt_register::ExportResult::Outcome::Written) {
            state.SkipWithError(qPrintable(result.error));
            break;
        }
        written = result.receipts;
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
    }
    state.counters["receipts"] = static_cast<double>(written);
}

// The engine's own client writing the same rows, in the same order, as CSV into a file.
void BM_ClientYearCsv(benchmark::State& state, store::Database* database, Engine engine) {
    const QString path = kExportFolder + QStringLiteral("/client.csv");
    for (auto _ : state) {
        QProcess client;
        if (engine == Engine::Sqlite) {
            client.setStandardOutputFile(path);
            client.start(QStringLiteral("sqlite3"),
                         {QStringLiteral("-readonly"), QStringLiteral("-csv"),
                          QStringLiteral("-header"), database->location(), yearQuery(engine)});
        } else {
            client.start(QStringLiteral("psql"),
                         {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-d"),
                          database->location(), QStringLiteral("-c"),
                          QStringLiteral("\\copy (%1) TO '%2' WITH (FORMAT csv, HEADER)")
                              .arg(yearQuery(engine), path)});
        }
        if (!client.waitForFinished(-1) || client.exitCode() != 0) {
            state.SkipWithError(client.readAllStandardError().constData());
            break;
        }
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
    }
}

// A server does its work outside this process: there wall-clock time is what a cashier waits,
// while an embedded engine's work is this process's own time. An export and a client are timed
// by the clock on both engines.
void registerBenchmarks(const char* engineName, store::Database* database, Engine engine) {
    const auto name = [engineName](const QString& what) {
        return QString(what + u'/' + QLatin1StringView(engineName)).toStdString();
    };
    const auto timed = [engine](benchmark::internal::Benchmark* benchmark) {
        return engine == Engine::Postgres ? benchmark->UseRealTime() : benchmark;
    };
    for (const PageCase& page : pageCases()) {
        const QString label = QString::fromLatin1(page.name);
        timed(benchmark::RegisterBenchmark(name(QStringLiteral("FirstPage/") + label).c_str(),
                                           BM_FirstPage, database, &page))
            ->Unit(benchmark::kMillisecond);
        timed(benchmark::RegisterBenchmark(name(QStringLiteral("PlainFirstPage/") + label).c_str(),
                                           BM_PlainFirstPage, database, engine, &page))
            ->Unit(benchmark::kMillisecond);
    }
    timed(benchmark::RegisterBenchmark(name(QStringLiteral("MonthTotals")).c_str(), BM_MonthTotals,
                                       database))
        ->Unit(benchmark::kMillisecond);
    timed(benchmark::RegisterBenchmark(name(QStringLiteral("PlainMonthTotals")).c_str(),
                                       BM_PlainMonthTotals, database))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(name(QStringLiteral("ExportYearCsv")).c_str(), BM_ExportYear,
                                 database, "csv")
        ->UseRealTime()
        ->Unit(benchmark::kSecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark(name(QStringLiteral("ClientYearCsv")).c_str(), BM_ClientYearCsv,
                                 database, engine)
        ->UseRealTime()
        ->Unit(benchmark::kSecond)
        ->Iterations(3);
    benchmark::RegisterBenchmark(name(QStringLiteral("ExportYearXlsx")).c_str(), BM_ExportYear,
                                 database, "xlsx")
        ->UseRealTime()
        ->Unit(benchmark::kSecond)
        ->Iterations(1);
}

}  // namespace

int main(int argc, char** argv) {
    // As the program runs.
    platform::readLocalZoneOnce();
    QCoreApplication application(argc, argv);
    QDir().mkpath(kExportFolder);
    store::Database sqlite(kMillionReceiptsFile);
    registerBenchmarks("SQLite", &withMillionReceipts(sqlite), Engine::Sqlite);
    std::unique_ptr<store::Database> postgres;
    const QString server = qEnvironmentVariable("BILLING_BENCH_PG");
    if (!server.isEmpty()) {
        postgres = std::make_unique<store::Database>(benchDatabaseOn(server));
        withMillionReceipts(*postgres);
        // The server plans from statistics that its autovacuum gathers in its own time; a
        // database just filled may not have them yet.
        qint64 rows = 0;
        PlainQuery analyze(postgres->location(), QStringLiteral("ANALYZE"), 0);
        if (!analyze.run(&rows)) {
            qFatal("%s", qPrintable(analyze.error()));
        }
        registerBenchmarks("PostgreSQL", postgres.get(), Engine::Postgres);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
}
