// Frame time of the bifurcation diagram, the heaviest still frame, and of its arithmetic alone.
#include "bench_window.h"

#include "scenes/scenes.h"

#include <benchmark/benchmark.h>

static void BM_Bifurcation(benchmark::State& state)
{
    ensureBenchWindow();
    for (auto _ : state) {
        benchFrame(drawBifurcation);
    }
}
BENCHMARK(BM_Bifurcation)->Unit(benchmark::kMillisecond);

static void BM_BifurcationPointsOnly(benchmark::State& state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(bifurcationPoints());
    }
}
BENCHMARK(BM_BifurcationPointsOnly)->Unit(benchmark::kMillisecond);
