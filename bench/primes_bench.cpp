// Frame times of the Ulam spiral (the first frame, which fills the prime cache, and a later one that
// reads it) and of the prime numbers graph.
#include "bench_window.h"

#include "scenes/scenes.h"

#include <benchmark/benchmark.h>

#include <iostream>

namespace {

// The spiral writes a console line every frame; the benchmark's report should not drown in them.
struct QuietConsole {
    std::streambuf* saved = std::cout.rdbuf(nullptr);
    ~QuietConsole() { std::cout.rdbuf(saved); std::cout.clear(); }
};

}  // namespace

static void BM_UlamSpiralFirstFrame(benchmark::State& state)
{
    ensureBenchWindow();
    QuietConsole quiet;
    for (auto _ : state) {
        state.PauseTiming();
        forgetPrimeCache();
        state.ResumeTiming();
        benchFrame(drawUlamSpiral);
    }
}
BENCHMARK(BM_UlamSpiralFirstFrame)->Unit(benchmark::kMillisecond);

static void BM_UlamSpiralLaterFrame(benchmark::State& state)
{
    ensureBenchWindow();
    QuietConsole quiet;
    benchFrame(drawUlamSpiral);
    for (auto _ : state) {
        benchFrame(drawUlamSpiral);
    }
}
BENCHMARK(BM_UlamSpiralLaterFrame)->Unit(benchmark::kMillisecond);

static void BM_PrimeGraph(benchmark::State& state)
{
    ensureBenchWindow();
    for (auto _ : state) {
        benchFrame(drawPrimeGraph);
    }
}
BENCHMARK(BM_PrimeGraph)->Unit(benchmark::kMillisecond);
