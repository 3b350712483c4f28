// Frame time of the trigonometric graphs at their densest, just before the frequency wraps.
#include "bench_window.h"

#include "scenes/scenes.h"

#include <benchmark/benchmark.h>

static void BM_TrigFunctionsAt3999(benchmark::State& state)
{
    ensureBenchWindow();
    app.frameTicks = 3999;
    for (auto _ : state) {
        benchFrame(drawTrigFunctions);
    }
}
BENCHMARK(BM_TrigFunctionsAt3999)->Unit(benchmark::kMillisecond);
