// Frame time of the computed sine at precision 10 and at the most terms a mouse can ask for.
#include "bench_window.h"

#include "scenes/scenes.h"

#include <benchmark/benchmark.h>

static void BM_ComputedSine(benchmark::State& state)
{
    ensureBenchWindow();
    const int x = static_cast<int>(state.range(0));
    for (auto _ : state) {
        benchFrame([x] { drawComputedSineAt(x); });
    }
}
BENCHMARK(BM_ComputedSine)
    ->Arg(1279)
    ->Arg(30000)
    ->Arg(32767)
    ->Arg(-32768)
    ->Unit(benchmark::kMillisecond);
