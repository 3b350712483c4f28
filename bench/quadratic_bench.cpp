// Frame time of the parabola at the bottom-right corner and at mouse positions far outside the
// window, where its rows reach millions of pixels above or below it.
#include "bench_window.h"

#include "scenes/scenes.h"

#include <benchmark/benchmark.h>

static void BM_Quadratic(benchmark::State& state)
{
    ensureBenchWindow();
    const int x = static_cast<int>(state.range(0));
    const int y = static_cast<int>(state.range(1));
    for (auto _ : state) {
        benchFrame([x, y] { drawQuadraticAt(x, y); });
    }
}
BENCHMARK(BM_Quadratic)
    ->Args({1279, 719})
    ->Args({640, -32768})
    ->Args({640, 32767})
    ->Args({-32768, -32768})
    ->Args({32767, 32767})
    ->Args({32767, -32768})
    ->Args({-32768, 32767})
    ->Args({30000, 0})
    ->Unit(benchmark::kMillisecond);
