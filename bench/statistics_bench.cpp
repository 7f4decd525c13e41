// A statistics run over a million receipts beside the same sums done by SQLite in one query.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include "billing/fee_category.h"
#include "statistics/period_run.h"
#include "store/database.h"

namespace {

// The store's benchmark leaves its million receipts here; without it we build our own.
const QString kSharedFile = QStringLiteral("/tmp/billing-bench-1m.sqlite");
const QString kOwnFile = QStringLiteral("/tmp/billing-stats-bench-1m.sqlite");
constexpr int kReceiptCount = 1'000'000;
const QDate kFirstDischarge(2020, 1, 1);
constexpr int kDischargeDays = 1461;

QString storedDate(QDate date) {
    return QDateTime(date, QTime(0, 0)).toString(u"yyyy-MM-dd HH:mm:ss");
}

double amount(QRandomGenerator& random, int maxFen) {
    return static_cast<float>(random.bounded(maxFen) / 100.0);
}

bool fillReceipts(const QString& path) {
    const QString connection = QStringLiteral("statistics-bench-fill");
    bool filled = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        if (!db.open()) {
            return false;
        }
        QSqlQuery query(db);
        query.exec(QStringLiteral("PRAGMA synchronous=OFF"));
        db.transaction();
        QStringList marks;
        for (int i = 0; i < 30; ++i) {
            marks.append(QStringLiteral("?"));
        }
        query.prepare(QStringLiteral("INSERT INTO MZY VALUES (") + marks.join(u',') +
                      QStringLiteral(")"));
        QRandomGenerator random(491);
        for (int n = 0; n < kReceiptCount; ++n) {
            const QDate discharge = kFirstDischarge.addDays(random.bounded(kDischargeDays));
            query.addBindValue(QString::number(100000 + n));
            query.addBindValue(QStringLiteral("病人"));
            query.addBindValue(storedDate(discharge.addDays(-5)));
            query.addBindValue(storedDate(discharge));
            double total = 0;
            for (int fee = 0; fee < billing::kFeeCategoryCount; ++fee) {
                const double value = amount(random, 50000);
                total += value;
                query.addBindValue(value);
            }
            query.addBindValue(0.0);
            query.addBindValue(total);
            const double prepaid = amount(random, 500000);
            query.addBindValue(prepaid);
            query.addBindValue(0.0);
            query.addBindValue(prepaid > total ? static_cast<float>(prepaid - total) : 0.0);
            query.addBindValue(prepaid < total ? static_cast<float>(total - prepaid) : 0.0);
            query.addBindValue(QStringLiteral("491MX"));
            if (!query.exec()) {
                qWarning("%s", qPrintable(query.lastError().text()));
                break;
            }
            filled = n + 1 == kReceiptCount;
        }
        filled = filled && db.commit();
    }
    QSqlDatabase::removeDatabase(connection);
    return filled;
}

// The file to measure on: the store's if it exists, else ours, built once.
const QString& benchFile() {
    static const QString path = [] {
        if (QFile::exists(kSharedFile)) {
            return kSharedFile;
        }
        if (!QFile::exists(kOwnFile)) {
            store::Database database(kOwnFile);
            QString error;
            if (!database.prepare(&error) || (database.closeAll(), !fillReceipts(kOwnFile))) {
                QFile::remove(kOwnFile);
                qFatal("cannot build %s: %s", qPrintable(kOwnFile), qPrintable(error));
            }
        }
        return kOwnFile;
    }();
    return path;
}

// range 0: every receipt counts; range 1: one month of four years counts.
std::pair<QDateTime, QDateTime> range(int which) {
    if (which == 0) {
        return {QDateTime(QDate(2000, 1, 1), QTime(0, 0)),
                QDateTime(QDate(2099, 1, 1), QTime(0, 0))};
    }
    return {QDateTime(QDate(2022, 3, 1), QTime(0, 0)), QDateTime(QDate(2022, 3, 31), QTime(0, 0))};
}

void BM_StatisticsRun(benchmark::State& state) {
    store::Database database(benchFile());
    const auto [first, last] = range(static_cast<int>(state.range(0)));
    std::int32_t count = 0;
    for (auto _ : state) {
        const statistics::PeriodRun run = statistics::sumPeriod(database, first, last);
        if (!run.error.isEmpty()) {
            state.SkipWithError(qPrintable(run.error));
            break;
        }
        count = run.sums.statCount;
        benchmark::DoNotOptimize(run.sums.statTotal);
    }
    database.closeAll();
    state.counters["receipts"] = count;
}

void BM_PlainSumQuery(benchmark::State& state) {
    const QString connection = QStringLiteral("statistics-bench-plain");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(benchFile());
        db.open();
        QStringList sums{QStringLiteral("COUNT(*)")};
        for (const billing::FeeCategory& category : billing::kFeeCategories) {
            sums.append(QStringLiteral("SUM(") + category.fieldName + QStringLiteral(")"));
        }
        sums += {QStringLiteral("SUM(欠费)"), QStringLiteral("SUM(合计)")};
        QSqlQuery query(db);
        query.prepare(QStringLiteral("SELECT ") + sums.join(u',') +
                      QStringLiteral(" FROM MZY WHERE 出院日期 >= ? AND 出院日期 <= ?"));
        const auto [first, last] = range(static_cast<int>(state.range(0)));
        const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
        query.addBindValue(first.toString(format));
        query.addBindValue(last.toString(format));
        qint64 count = 0;
        for (auto _ : state) {
            if (!query.exec() || !query.next()) {
                state.SkipWithError(qPrintable(query.lastError().text()));
                break;
            }
            count = query.value(0).toLongLong();
            benchmark::DoNotOptimize(query.value(21).toDouble());
        }
        state.counters["receipts"] = static_cast<double>(count);
    }
    QSqlDatabase::removeDatabase(connection);
}

BENCHMARK(BM_StatisticsRun)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_PlainSumQuery)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
}
