// Reading the stored date-time text, which every walk over the receipts does for each record: the
// reader that remembers the date-times it has made, the hand-written reader alone, and Qt's
// reader with a format string.
#include <benchmark/benchmark.h>

#include <QDateTime>
#include <vector>

#include "common/stored_date_time.h"

namespace {

std::vector<QByteArray> storedDischargeDates() {
    std::vector<QByteArray> texts;
    for (int day = 0; day < 1000; ++day) {
        texts.push_back(
            common::toStoredDateTime(QDateTime(QDate(2021, 1, 1).addDays(day), QTime(0, 0)))
                .toUtf8());
    }
    return texts;
}

// Reading the stored date-time text: the reader that a walk uses, over 1000 dates...
void BM_ReadStoredDateTimeRemembered(benchmark::State& state) {
    const std::vector<QByteArray> texts = storedDischargeDates();
    common::StoredDateTimeReader reader;
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
            benchmark::DoNotOptimize(common::fromStoredDateTime(QByteArrayView(text)));
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

BENCHMARK_MAIN();
