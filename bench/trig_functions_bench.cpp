// Frame time of the trigonometric graphs at their densest, just before the frequency wraps.
#include "bench_window.h"

#include "scenes/scenes.h"

#include <benchmark/benchmark.h>

static void BM_TrigFunctionsAt3999(benchmark::State& state)
{
    ensureBenchWindow();
    for (auto _ : state) {
        benchFrame([] { drawTrigFunctionsAt(3999); });
    }
}
BENCHMARK(BM_TrigFunctionsAt3999)->Unit(benchmark::kMillisecond);
