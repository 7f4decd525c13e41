// The journal, the settlement and the open shift, on each engine, beside a journal of 200,000
// settled events: a save with its journal row against the same save without it (the store as it
// was before the journal), the figures of a 2,000-event open shift against the engine's own
// aggregate over those rows, and the settlement of that shift against the engine's own plain
// UPDATE of them. Every timing is wall-clock time: a save waits for the disk, a server works in
// another process.
//
// SQLite: a file in /tmp, made afresh by every run. PostgreSQL: when BILLING_BENCH_PG names a
// server (as scripts/bench.sh gives it, a throwaway one), the shift's tables in its database
// billing_bench.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

#include "bench/bench_server.h"
#include "bench/plain_statement.h"
#include "platform/local_zone.h"
#include "receipt/fee_category.h"
#include "shift/day_sheet.h"
#include "storage/sql_names.h"
#include "storage/storage_engine.h"
#include "store/database.h"
#include "store/journal.h"
#include "store/receipt_record.h"
#include "store/receipt_saving.h"
#include "store/schema.h"
#include "store/settlement.h"
#include "store/shift_tables.h"

namespace {

constexpr int kSettledEvents = 200'000;
constexpr int kSettledShifts = 100;
constexpr int kShiftEvents = 2'000;
const QString kSavingCashier = QStringLiteral("存入");
const QString kShiftCashier = QStringLiteral("交班");
const QDateTime kFirstEvent(QDate(2026, 1, 1), QTime(8, 0));
// A busy day of the ward's desks: kDayCashiers cashiers, the first half of them settled that
// evening, the rest still open, kDayEvents events in all.
const QDate kSheetDay(2026, 6, 1);
constexpr int kDayCashiers = 50;
constexpr int kDayEvents = 20'000;
constexpr qint64 kFirstDaySettlement = 1000;

common::Money randomAmount(std::mt19937& random) {
    return random() % 2 == 0
               ? common::Money()
               : common::Money::fromFen(std::uniform_int_distribution(1, 500'000)(random));
}

QVariantList generatedReceipt(const QString& number, std::mt19937& random) {
    receipt::ReceiptState state;
    for (const receipt::FeeCategory& fee : receipt::kFeeCategories) {
        state.*fee.variable = randomAmount(random);
        state.totalAmount += state.*fee.variable;
    }
    state.bedFee += common::Money::fromFen(100);
    state.totalAmount += common::Money::fromFen(100);
    state.supplementAmount = state.totalAmount;
    state.currentCashier = kSavingCashier;
    return store::receiptRecordValues(number, QStringLiteral("欧阳明"), kFirstEvent, kFirstEvent,
                                      state);
}

storage::RecordValues journalRow(int event, const QString& cashier, qint64 settlement,
                                 std::mt19937& random, const QDateTime& time) {
    storage::RecordValues row{time,
                              cashier,
                              QStringLiteral("收费处"),
                              store::journalKindText(store::JournalKind::New),
                              QStringLiteral("ZY%1").arg(event, 7, 10, QLatin1Char('0')),
                              QStringLiteral("张三")};
    for (int amount = 0; amount < store::kJournalAmountCount; ++amount) {
        row.append(QVariant::fromValue(randomAmount(random)));
    }
    // Most amounts in cash, the rest spread over the other methods.
    static const QStringList methods{QStringLiteral("现金"), QStringLiteral("现金"),
                                     QStringLiteral("银行卡"), QStringLiteral("微信"),
                                     QStringLiteral("支付宝")};
    row += {settlement, methods[static_cast<qsizetype>(random() % methods.size())],
            methods[static_cast<qsizetype>(random() % methods.size())]};
    return row;
}

// The drawer counted to the fen, with no float.
store::DrawerCount exactCount(const QList<store::JournalEntry>& shown) {
    store::DrawerCount count;
    count.typedSum = store::sumEntries(shown).cashDue();
    return count;
}

void insertAll(store::Database& database, const std::function<bool(storage::RecordWriter&)>& work) {
    const storage::TransactionResult filled = database.engine().transact({}, work);
    if (filled.outcome != storage::TransactionOutcome::Committed) {
        qFatal("cannot fill the bench database: %s", qPrintable(filled.reason));
    }
}

bool hasHistory(store::Database& database) {
    std::optional<store::Settlement> last;
    QString error;
    return store::readSettlement(database, kSettledShifts, &last, &error) && last.has_value();
}

// Earlier shifts of several cashiers, settled, in one transaction: a million single-row
// transactions would take hours of flushes.
void fillHistory(store::Database& database) {
    insertAll(database, [](storage::RecordWriter& writer) {
        std::mt19937 random(20260101);
        const storage::TableSchema& journal = store::journalSchema();
        const storage::TableSchema& settlements = store::settlementSchema();
        for (int event = 0; event < kSettledEvents; ++event) {
            const qint64 shift = 1 + event / (kSettledEvents / kSettledShifts);
            const QString cashier = QStringLiteral("收费员%1").arg(shift % 5);
            if (!writer.insert(journal, journalRow(event, cashier, shift, random,
                                                   kFirstEvent.addSecs(event)))) {
                return false;
            }
        }
        for (qint64 shift = 1; shift <= kSettledShifts; ++shift) {
            storage::RecordValues row(settlements.columns.size());
            row[0] = shift;
            row[1] = QStringLiteral("收费员%1").arg(shift % 5);
            if (!writer.insert(settlements, row)) {
                return false;
            }
        }
        const auto dayCashier = [](int cashier) { return QStringLiteral("日结%1").arg(cashier); };
        for (int event = 0; event < kDayEvents; ++event) {
            const int cashier = event % kDayCashiers;
            const qint64 settlement =
                cashier < kDayCashiers / 2 ? kFirstDaySettlement + cashier : 0;
            if (!writer.insert(journal,
                               journalRow(event, dayCashier(cashier), settlement, random,
                                          QDateTime(kSheetDay, QTime(6, 0)).addSecs(3 * event)))) {
                return false;
            }
        }
        for (int cashier = 0; cashier < kDayCashiers / 2; ++cashier) {
            storage::RecordValues row(settlements.columns.size());
            row[0] = kFirstDaySettlement + cashier;
            row[1] = dayCashier(cashier);
            row[settlements.indexOf(store::kSettledAtField)] =
                QDateTime(kSheetDay, QTime(23, 0)).addSecs(cashier);
            if (!writer.insert(settlements, row)) {
                return false;
            }
        }
        return true;
    });
}

// The shift cashier's open shift, settled away and written anew with kShiftEvents events.
QList<store::JournalEntry> freshShift(store::Database& database) {
    QList<store::JournalEntry> open;
    QString error;
    if (!store::readOpenEntries(database, kShiftCashier, &open, &error)) {
        qFatal("%s", qPrintable(error));
    }
    if (!open.isEmpty()) {
        store::settleShift(database, kShiftCashier, open, exactCount(open));
    }
    insertAll(database, [](storage::RecordWriter& writer) {
        std::mt19937 random(7);
        for (int event = 0; event < kShiftEvents; ++event) {
            if (!writer.insert(store::journalSchema(),
                               journalRow(kSettledEvents + event, kShiftCashier, 0, random,
                                          kFirstEvent.addSecs(kSettledEvents + event)))) {
                return false;
            }
        }
        return true;
    });
    open.clear();
    store::readOpenEntries(database, kShiftCashier, &open, &error);
    return open;
}

store::Database& prepared(store::Database& database) {
    QString error;
    if (!database.prepare(&error)) {
        qFatal("%s", qPrintable(error));
    }
    if (!hasHistory(database)) {
        fillHistory(database);
    }
    return database;
}

// Inpatient numbers no earlier run has used.
QString unusedNumber() {
    static qint64 next = QDateTime::currentMSecsSinceEpoch() * 1000;
    return QString::number(++next);
}

bool saveWithJournalRow(store::Database& database, const QVariantList& receipt, QString* error) {
    const store::SaveResult saved = store::saveNewReceipt(database, receipt);
    *error = saved.error;
    return saved.outcome == store::SaveOutcome::Saved;
}

// The save as the store made it before the journal: the look-up under the number's lock and the
// receipt's row, in one transaction.
bool saveWithoutJournalRow(store::Database& database, const QVariantList& receipt, QString* error) {
    const storage::TableSchema& receipts = store::receiptSchema();
    const int numberField = receipts.indexOf(store::kInpatientNumberField);
    const QString number = receipt[numberField].toString();
    const storage::TransactionResult saved = database.engine().transact(
        store::kReceiptTable + QLatin1Char(':') + number, [&](storage::RecordWriter& writer) {
            return !writer.firstWithText(receipts, numberField, number) &&
                   writer.insert(receipts, receipt).has_value();
        });
    *error = saved.reason;
    return saved.outcome == storage::TransactionOutcome::Committed;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Each iteration saves one receipt each way, in turns, so that both meet the same disk and the
// same neighbours; the medians of the two are compared.
void BM_SaveWithAndWithoutJournalRow(benchmark::State& state, store::Database* database) {
    std::mt19937 random(1);
    std::vector<double> with;
    std::vector<double> without;
    for (auto _ : state) {
        for (const bool journal : {with.size() % 2 == 0, with.size() % 2 != 0}) {
            const QVariantList receipt = generatedReceipt(unusedNumber(), random);
            QString error;
            const auto start = std::chrono::steady_clock::now();
            const bool saved = journal ? saveWithJournalRow(*database, receipt, &error)
                                       : saveWithoutJournalRow(*database, receipt, &error);
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            if (!saved) {
                state.SkipWithError(qPrintable(error));
                return;
            }
            (journal ? with : without).push_back(took.count());
        }
    }
    state.counters["with_ms"] = median(with);
    state.counters["without_ms"] = median(without);
    state.counters["with_per_without"] = median(with) / median(without);
}

void BM_OpenShiftFigures(benchmark::State& state, store::Database* database) {
    freshShift(*database);
    qint64 events = 0;
    for (auto _ : state) {
        QList<store::JournalEntry> open;
        QString error;
        if (!store::readOpenEntries(*database, kShiftCashier, &open, &error)) {
            state.SkipWithError(qPrintable(error));
            break;
        }
        const store::ShiftFigures figures = store::sumEntries(open);
        events = figures.totalEvents();
        benchmark::DoNotOptimize(figures.cashDue());
    }
    state.counters["events"] = static_cast<double>(events);
}

// The floor: the engine adding up the same rows' amounts by kind and methods itself.
void BM_PlainOpenShiftAggregate(benchmark::State& state, store::Database* database) {
    freshShift(*database);
    const QString byKindAndMethod =
        QStringList{storage::quotedIdentifier(store::kEventKindField.toString()),
                    storage::quotedIdentifier(store::kSupplementMethodField.toString()),
                    storage::quotedIdentifier(store::kRefundMethodField.toString())}
            .join(QStringLiteral(", "));
    QStringList sums{byKindAndMethod, QStringLiteral("count(*)")};
    for (int amount = 0; amount < store::kJournalAmountCount; ++amount) {
        sums.append(QStringLiteral("sum(%1)").arg(
            storage::quotedIdentifier(store::journalAmountField(amount).toString())));
    }
    const QString sql =
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 = $1 AND %4 = $2 GROUP BY %5")
            .arg(sums.join(QStringLiteral(", ")),
                 storage::quotedIdentifier(store::journalSchema().name),
                 storage::quotedIdentifier(store::kSettlementNumberField.toString()),
                 storage::quotedIdentifier(store::kCashierField.toString()), byKindAndMethod);
    PlainStatement plain(database->location());
    for (auto _ : state) {
        if (plain.run(sql, {QStringLiteral("0"), kShiftCashier}) < 0) {
            state.SkipWithError(qPrintable(plain.error()));
            break;
        }
    }
}

void BM_Settlement(benchmark::State& state, store::Database* database) {
    for (auto _ : state) {
        state.PauseTiming();
        const QList<store::JournalEntry> shown = freshShift(*database);
        state.ResumeTiming();
        const store::SettleResult settled =
            store::settleShift(*database, kShiftCashier, shown, exactCount(shown));
        if (settled.outcome != store::SettleOutcome::Settled) {
            state.SkipWithError(qPrintable(settled.error));
            break;
        }
    }
    state.counters["events"] = kShiftEvents;
}

// The floor: the engine marking the same rows in one statement of its own, committed.
void BM_PlainSettlementUpdate(benchmark::State& state, store::Database* database) {
    const QString sql =
        QStringLiteral("UPDATE %1 SET %2 = $1 WHERE %2 = 0 AND %3 = $2")
            .arg(storage::quotedIdentifier(store::journalSchema().name),
                 storage::quotedIdentifier(store::kSettlementNumberField.toString()),
                 storage::quotedIdentifier(store::kCashierField.toString()));
    PlainStatement plain(database->location());
    for (auto _ : state) {
        state.PauseTiming();
        freshShift(*database);
        state.ResumeTiming();
        if (plain.run(sql, {QStringLiteral("999999"), kShiftCashier}) < 0) {
            state.SkipWithError(qPrintable(plain.error()));
            break;
        }
    }
}

// The day's sheet as the 交班 window and shift list --date make it: the day's rows and
// settlements read, then summed per shift and per method.
void BM_DaySheet(benchmark::State& state, store::Database* database) {
    qint64 events = 0;
    qsizetype shifts = 0;
    for (auto _ : state) {
        QList<store::JournalEntry> rows;
        QList<store::Settlement> settlements;
        QString error;
        if (!store::readDayEntries(*database, kSheetDay, &rows, &error) ||
            !store::readSettlements(*database, {{}, kSheetDay, kSheetDay}, &settlements, &error)) {
            state.SkipWithError(qPrintable(error));
            break;
        }
        const shift::DaySheet sheet = shift::makeDaySheet(kSheetDay, rows, settlements);
        events = sheet.total.figures.totalEvents();
        shifts = sheet.shifts.size();
        benchmark::DoNotOptimize(sheet.total.figures.cashDue());
    }
    state.counters["events"] = static_cast<double>(events);
    state.counters["shifts"] = static_cast<double>(shifts);
}

// The floor: the engine adding up the day's rows by cashier, shift and methods itself.
void BM_PlainDaySheetAggregate(benchmark::State& state, store::Database* database) {
    const QString groups =
        QStringList{storage::quotedIdentifier(store::kCashierField.toString()),
                    storage::quotedIdentifier(store::kSettlementNumberField.toString()),
                    storage::quotedIdentifier(store::kSupplementMethodField.toString()),
                    storage::quotedIdentifier(store::kRefundMethodField.toString())}
            .join(QStringLiteral(", "));
    QStringList sums{groups, QStringLiteral("count(*)")};
    for (int amount = 0; amount < store::kJournalAmountCount; ++amount) {
        sums.append(QStringLiteral("sum(%1)").arg(
            storage::quotedIdentifier(store::journalAmountField(amount).toString())));
    }
    const QString sql =
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 >= $1 AND %3 <= $2 GROUP BY %4")
            .arg(sums.join(QStringLiteral(", ")),
                 storage::quotedIdentifier(store::journalSchema().name),
                 storage::quotedIdentifier(store::kEventTimeField.toString()), groups);
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    const QStringList day{QDateTime(kSheetDay, QTime(0, 0)).toString(format),
                          QDateTime(kSheetDay, QTime(23, 59, 59)).toString(format)};
    PlainStatement plain(database->location());
    for (auto _ : state) {
        if (plain.run(sql, day) < 0) {
            state.SkipWithError(qPrintable(plain.error()));
            break;
        }
    }
}

void registerBenchmarks(const char* engine, store::Database* database) {
    const auto name = [engine](const char* what) { return std::string(what) + '/' + engine; };
    const auto add = [&](const char* what, void (*function)(benchmark::State&, store::Database*)) {
        return benchmark::RegisterBenchmark(name(what).c_str(), function, database)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    };
    // The disk and the processors are shared with other programs: several repetitions, best run
    // with --benchmark_enable_random_interleaving=true, compared by their medians.
    add("SaveWithAndWithoutJournalRow", BM_SaveWithAndWithoutJournalRow)
        ->Iterations(300)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
    add("PlainOpenShiftAggregate", BM_PlainOpenShiftAggregate)
        ->MinTime(0.5)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
    add("OpenShiftFigures", BM_OpenShiftFigures)
        ->MinTime(0.5)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
    add("PlainDaySheetAggregate", BM_PlainDaySheetAggregate)
        ->MinTime(0.5)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
    add("DaySheet", BM_DaySheet)->MinTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true);
    add("PlainSettlementUpdate", BM_PlainSettlementUpdate)
        ->Iterations(20)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true);
    add("Settlement", BM_Settlement)->Iterations(20)->Repetitions(3)->ReportAggregatesOnly(true);
}

}  // namespace

int main(int argc, char** argv) {
    // As the program runs.
    platform::readLocalZoneOnce();
    QCoreApplication application(argc, argv);
    // Each run saves receipts whose journal rows stay open: a file of its own, made afresh.
    const QString file = QStringLiteral("/tmp/billing-bench-shift.sqlite");
    QFile::remove(file);
    store::Database sqlite(file);
    registerBenchmarks("SQLite", &prepared(sqlite));
    std::unique_ptr<store::Database> postgres;
    const QString server = qEnvironmentVariable("BILLING_BENCH_PG");
    if (!server.isEmpty()) {
        postgres = std::make_unique<store::Database>(benchDatabaseOn(server));
        registerBenchmarks("PostgreSQL", &prepared(*postgres));
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
}
