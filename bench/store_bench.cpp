// The receipt store over a million receipts: the lookup by inpatient number, and the walk that a
// statistics run makes, beside a plain SQL sum over the same columns as the floor.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <random>

#include "billing/fee_category.h"
#include "store/database.h"
#include "store/receipt_record.h"
#include "store/schema.h"
#include "store/schema_setup.h"
#include "store/stored_date_time.h"
#include "store/table.h"

namespace {

constexpr int kReceiptCount = 1'000'000;
const QString kBenchFile = QStringLiteral("/tmp/billing-bench-1m.sqlite");

QString inpatientNumber(int i) {
    return QStringLiteral("ZY%1").arg(i, 7, 10, QLatin1Char('0'));
}

// A stay of a few days, discharged in date order over three years, with about half of the
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
    const QDateTime discharged = QDateTime(QDate(2021, 1, 1).addDays(i / 1000), QTime(0, 0));
    return store::receiptRecordValues(inpatientNumber(i), names[random() % names.size()],
                                      discharged.addDays(-stay(random)), discharged, state);
}

bool hasAllReceipts(const QString& path) {
    if (!QFile::exists(path)) {
        return false;
    }
    store::Database database(path);
    QString error;
    if (!database.prepare(&error)) {
        return false;
    }
    QSqlQuery count(database.openConnection(&error));
    return count.exec(QStringLiteral("SELECT count(*) FROM MZY")) && count.next() &&
           count.value(0).toInt() == kReceiptCount;
}

// Built once in one transaction (a million single-record transactions would take hours of
// disk flushes) and renamed into place, so an interrupted build is never mistaken for a file.
void buildBenchFile() {
    const QString building = kBenchFile + QStringLiteral(".building");
    QFile::remove(building);
    store::Database database(building);
    QString error;
    if (!database.prepare(&error)) {
        qFatal("%s", qPrintable(error));
    }
    QSqlDatabase connection = database.openConnection(&error);
    const store::TableSchema& schema = store::receiptSchema();
    QStringList columns;
    for (const store::Column& column : schema.columns) {
        columns.append(store::quotedIdentifier(column.name));
    }
    connection.transaction();
    {
        QSqlQuery insert(connection);
        insert.prepare(QStringLiteral("INSERT INTO MZY (%1) VALUES (%2)")
                           .arg(columns.join(QLatin1Char(',')),
                                QStringList(schema.columns.size(), QStringLiteral("?"))
                                    .join(QLatin1Char(','))));
        std::mt19937 random(20240301);
        for (int i = 0; i < kReceiptCount; ++i) {
            const QVariantList values = generatedReceipt(i, random);
            for (int c = 0; c < values.size(); ++c) {
                const store::FieldKind kind = schema.columns[c].kind;
                insert.bindValue(c, kind == store::FieldKind::DateTime
                                        ? QVariant(store::toStoredDateTime(values[c].toDateTime()))
                                    : kind == store::FieldKind::Amount
                                        ? QVariant(values[c].value<common::Money>().toStoredReal())
                                        : values[c]);
            }
            if (!insert.exec()) {
                qFatal("%s", qPrintable(insert.lastError().text()));
            }
        }
    }
    connection.commit();
    database.closeAll();
    QFile::remove(kBenchFile);
    QFile::rename(building, kBenchFile);
}

// The 21 amounts a statistics run sums: the nineteen fees, 欠费 and 合计.
QStringList statisticsAmountFields() {
    QStringList fields;
    for (const billing::FeeCategory& fee : billing::kFeeCategories) {
        fields.append(fee.fieldName.toString());
    }
    fields.append(store::kArrearsField.toString());
    fields.append(store::kTotalField.toString());
    return fields;
}

store::Database& benchDatabase() {
    static store::Database database(kBenchFile);
    static const bool prepared = [] {
        QString error;
        if (!database.prepare(&error)) {
            qFatal("%s", qPrintable(error));
        }
        return true;
    }();
    Q_UNUSED(prepared);
    return database;
}

void BM_FindByInpatientNumber(benchmark::State& state) {
    store::Database& database = benchDatabase();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> receipt(0, kReceiptCount - 1);
    for (auto _ : state) {
        store::Table table(database);
        table.open(store::kReceiptTable);
        table.goFirst();
        const bool found = store::findByInpatientNumber(table, inpatientNumber(receipt(random)));
        benchmark::DoNotOptimize(table.readField(store::kPatientNameField));
        table.close();
        if (!found) {
            state.SkipWithError("receipt not found");
        }
    }
}
BENCHMARK(BM_FindByInpatientNumber)->Unit(benchmark::kMicrosecond);

// The existence check before a new receipt is stored: usually nothing is found.
void BM_FindMissingInpatientNumber(benchmark::State& state) {
    store::Database& database = benchDatabase();
    for (auto _ : state) {
        store::Table table(database);
        table.open(store::kReceiptTable);
        table.goFirst();
        benchmark::DoNotOptimize(store::findByInpatientNumber(table, QStringLiteral("ZY9999999")));
        table.close();
    }
}
BENCHMARK(BM_FindMissingInpatientNumber)->Unit(benchmark::kMicrosecond);

// The walk of a statistics run: the discharge date and the 21 amounts of every record, with the
// table opened whole or with only those fields, the amounts read as QVariants or directly.
enum class WalkKind { AllColumns, Projected, ProjectedNumbers };

void BM_StatisticsWalk(benchmark::State& state, WalkKind kind) {
    store::Database& database = benchDatabase();
    QStringList fields = statisticsAmountFields();
    fields.prepend(store::kDischargeDateField.toString());
    for (auto _ : state) {
        store::Table table(database);
        if (kind == WalkKind::AllColumns) {
            table.open(store::kReceiptTable);
        } else {
            table.open(store::kReceiptTable, fields);
        }
        const int dateField = table.fieldIndex(store::kDischargeDateField);
        QList<int> amountFields;
        for (const QString& field : statisticsAmountFields()) {
            amountFields.append(table.fieldIndex(field));
        }
        common::Money sum;
        qint64 days = 0;
        int records = 0;
        for (table.goFirst(); !table.pastLast(); table.skip()) {
            days += table.readField(dateField).toDateTime().date().toJulianDay();
            for (const int field : amountFields) {
                sum += kind == WalkKind::ProjectedNumbers
                           ? *table.readAmount(field)
                           : table.readField(field).value<common::Money>();
            }
            ++records;
        }
        table.close();
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(days);
        if (records != kReceiptCount) {
            state.SkipWithError("walk missed records");
        }
    }
    state.SetItemsProcessed(state.iterations() * kReceiptCount);
}
BENCHMARK_CAPTURE(BM_StatisticsWalk, all_columns, WalkKind::AllColumns)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3);
BENCHMARK_CAPTURE(BM_StatisticsWalk, projected, WalkKind::Projected)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3);
BENCHMARK_CAPTURE(BM_StatisticsWalk, projected_numbers, WalkKind::ProjectedNumbers)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3);

// What a record outside the period costs at least: the walk reading only the discharge date.
void BM_DischargeDateWalk(benchmark::State& state) {
    store::Database& database = benchDatabase();
    for (auto _ : state) {
        store::Table table(database);
        table.open(store::kReceiptTable, {store::kDischargeDateField.toString()});
        const int dateField = table.fieldIndex(store::kDischargeDateField);
        qint64 days = 0;
        int records = 0;
        for (table.goFirst(); !table.pastLast(); table.skip()) {
            days += table.readField(dateField).toDateTime().date().toJulianDay();
            ++records;
        }
        table.close();
        benchmark::DoNotOptimize(days);
        if (records != kReceiptCount) {
            state.SkipWithError("walk missed records");
        }
    }
    state.SetItemsProcessed(state.iterations() * kReceiptCount);
}
BENCHMARK(BM_DischargeDateWalk)->Unit(benchmark::kMillisecond)->MinTime(3);

// The floor: SQLite summing the same columns itself.
void BM_PlainSqlSum(benchmark::State& state) {
    store::Database& database = benchDatabase();
    QStringList sums{QStringLiteral("count(%1)")
                         .arg(store::quotedIdentifier(store::kDischargeDateField.toString()))};
    for (const QString& field : statisticsAmountFields()) {
        sums.append(QStringLiteral("sum(%1)").arg(store::quotedIdentifier(field)));
    }
    const QString sql = QStringLiteral("SELECT %1 FROM MZY").arg(sums.join(QLatin1Char(',')));
    QString error;
    QSqlDatabase connection = database.openConnection(&error);
    for (auto _ : state) {
        QSqlQuery query(connection);
        if (!query.exec(sql) || !query.next()) {
            state.SkipWithError("sum failed");
        }
        benchmark::DoNotOptimize(query.value(1).toDouble());
    }
    state.SetItemsProcessed(state.iterations() * kReceiptCount);
}
BENCHMARK(BM_PlainSqlSum)->Unit(benchmark::kMillisecond)->MinTime(3);

// The same walk through Qt SQL alone, for comparison: Qt turns every column of every row into a
// QVariant before the walk reads any.
void BM_StatisticsWalkThroughQtSql(benchmark::State& state) {
    store::Database& database = benchDatabase();
    const store::TableSchema& schema = store::receiptSchema();
    QStringList columns{QStringLiteral("rowid")};
    for (const store::Column& column : schema.columns) {
        columns.append(store::quotedIdentifier(column.name));
    }
    const QString sql = QStringLiteral("SELECT %1 FROM MZY WHERE rowid >= ? ORDER BY rowid")
                            .arg(columns.join(QLatin1Char(',')));
    const int dateColumn = schema.indexOf(store::kDischargeDateField) + 1;
    QList<int> amountColumns;
    for (const QString& field : statisticsAmountFields()) {
        amountColumns.append(schema.indexOf(field) + 1);
    }
    QString error;
    QSqlDatabase connection = database.openConnection(&error);
    for (auto _ : state) {
        store::StoredDateTimeReader dateTimes;
        QSqlQuery query(connection);
        query.setForwardOnly(true);
        query.prepare(sql);
        query.addBindValue(std::numeric_limits<qint64>::min());
        query.exec();
        double sum = 0;
        qint64 days = 0;
        int records = 0;
        while (query.next()) {
            days +=
                store::fromStoredDateTime(query.value(dateColumn).toString()).date().toJulianDay();
            for (const int column : amountColumns) {
                sum += static_cast<float>(query.value(column).toDouble());
            }
            ++records;
        }
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(days);
        if (records != kReceiptCount) {
            state.SkipWithError("walk missed records");
        }
    }
    state.SetItemsProcessed(state.iterations() * kReceiptCount);
}
BENCHMARK(BM_StatisticsWalkThroughQtSql)->Unit(benchmark::kMillisecond)->MinTime(3);

std::vector<QByteArray> storedDischargeDates() {
    std::vector<QByteArray> texts;
    for (int day = 0; day < 1000; ++day) {
        texts.push_back(
            store::toStoredDateTime(QDateTime(QDate(2021, 1, 1).addDays(day), QTime(0, 0)))
                .toUtf8());
    }
    return texts;
}

// Reading the stored date-time text: the reader that a walk uses, over 1000 dates...
void BM_ReadStoredDateTimeRemembered(benchmark::State& state) {
    const std::vector<QByteArray> texts = storedDischargeDates();
    store::StoredDateTimeReader reader;
    for (auto _ : state) {
        for (const QByteArray& text : texts) {
            benchmark::DoNotOptimize(reader.read(QByteArrayView(text)));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts.size()));
}
BENCHMARK(BM_ReadStoredDateTimeRemembered);

// ...the hand-written reader of the fixed form alone, a QDateTime made for every text...
void BM_ReadStoredDateTime(benchmark::State& state) {
    const std::vector<QByteArray> texts = storedDischargeDates();
    for (auto _ : state) {
        for (const QByteArray& text : texts) {
            benchmark::DoNotOptimize(store::fromStoredDateTime(QByteArrayView(text)));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts.size()));
}
BENCHMARK(BM_ReadStoredDateTime);

// ...against Qt's reader with a format string.
void BM_ReadStoredDateTimeWithFormat(benchmark::State& state) {
    const std::vector<QByteArray> texts = storedDischargeDates();
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    for (auto _ : state) {
        for (const QByteArray& text : texts) {
            benchmark::DoNotOptimize(QDateTime::fromString(QString::fromUtf8(text), format));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts.size()));
}
BENCHMARK(BM_ReadStoredDateTimeWithFormat);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (!hasAllReceipts(kBenchFile)) {
        buildBenchFile();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
}
