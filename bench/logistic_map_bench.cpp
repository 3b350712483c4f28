// Frame time of the logistic sequence at the bottom-right corner and where it diverges.
#include "bench_window.h"

#include "scenes/scenes.h"

#include <benchmark/benchmark.h>

static void BM_LogisticMap(benchmark::State& state)
{
    ensureBenchWindow();
    const int x = static_cast<int>(state.range(0));
    const int y = static_cast<int>(state.range(1));
    for (auto _ : state) {
        benchFrame([x, y] { drawLogisticMapAt(x, y); });
    }
}
BENCHMARK(BM_LogisticMap)
    ->Args({1279, 719})
    ->Args({-32768, -32768})
    ->Args({32767, 32767})
    ->Args({32767, -32768})
    ->Args({-32768, 32767})
    ->Args({30000, 0})
    ->Args({640, -32768})
    ->Unit(benchmark::kMillisecond);
