// How the name box's byte limit costs against the length of a paste: a whole document pasted by
// mistake must be cut in time linear in its length, not in its square.
#include <benchmark/benchmark.h>

#include <QString>

#include "widgets/input_validators.h"

namespace {

constexpr int kNameMaxBytes = 8;

void BM_PasteIntoNameBox(benchmark::State& state) {
    const widgets::CodePageLengthValidator validator(kNameMaxBytes, nullptr);
    const QString paste(static_cast<qsizetype>(state.range(0)), QChar(0x5f20));
    for (auto _ : state) {
        QString input = QStringLiteral("张") + paste;
        int position = static_cast<int>(input.size());
        validator.validate(input, position);
        benchmark::DoNotOptimize(input);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PasteIntoNameBox)->RangeMultiplier(4)->Range(1 << 10, 1 << 18)->Complexity();

}  // namespace

BENCHMARK_MAIN();
