// How long one full recalculation takes with all nineteen fee boxes filled, against the cost of
// writing one box's text as the baseline.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>

#include "billing/main_window.h"
#include "platform/clock.h"
#include "receipt/fee_category.h"

namespace {

const platform::SystemClock kClock;

void fillEveryAmount(billing::MainWindow& window) {
    int step = 0;
    for (const receipt::FeeCategory& category : receipt::kFeeCategories) {
        window.findChild<QLineEdit*>(category.boxName.toString())
            ->setText(QString::number(1234.56 + 100.01 * step++, 'f', 2));
    }
    window.findChild<QLineEdit*>(QStringLiteral("编辑框24"))->setText(QStringLiteral("30000"));
    window.findChild<QLineEdit*>(QStringLiteral("编辑框25"))->setText(QStringLiteral("250.5"));
}

void BM_RecalculateTotal(benchmark::State& state) {
    billing::MainWindow window(kClock);
    fillEveryAmount(window);
    for (auto _ : state) {
        window.recalculateTotal();
    }
    benchmark::DoNotOptimize(window.receipt().totalAmount);
}
BENCHMARK(BM_RecalculateTotal);

void BM_BaselineSetOneBoxText(benchmark::State& state) {
    QLineEdit box;
    int flip = 0;
    for (auto _ : state) {
        box.setText(++flip % 2 ? QStringLiteral("12345.67") : QStringLiteral("7654.32"));
    }
}
BENCHMARK(BM_BaselineSetOneBoxText);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
