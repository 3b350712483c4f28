// Frame times of the rotating rectangle, the unit circle with its projections and the phase-shifted
// waves at phase just below 6 pi, where the traced curves are longest.
#include "bench_window.h"

#include "scenes/scenes.h"

#include <benchmark/benchmark.h>

namespace {

constexpr float kLongestCurves = 18.8495f;
constexpr float kJustBelowATurn = 6.2822f;  // the rectangle's phase wraps at 2 pi

void BM_RotationJustBelowATurn(benchmark::State& state)
{
    ensureBenchWindow();
    for (auto _ : state) {
        benchFrame([] { drawRotation(kJustBelowATurn); });
    }
}

void BM_SineCosineAtLongestCurves(benchmark::State& state)
{
    ensureBenchWindow();
    for (auto _ : state) {
        benchFrame([] { drawSineCosine(kLongestCurves); });
    }
}

// The same frame with the labels left out (a missing font draws none): the scene's own drawing,
// apart from the cost of rendering its four texts.
void BM_SineCosineAtLongestCurvesWithoutLabels(benchmark::State& state)
{
    ensureBenchWindow();
    TTF_Font* font = app.smallFont;
    app.smallFont = nullptr;
    for (auto _ : state) {
        benchFrame([] { drawSineCosine(kLongestCurves); });
    }
    app.smallFont = font;
}

void BM_PhaseShiftAtLongestCurves(benchmark::State& state)
{
    ensureBenchWindow();
    for (auto _ : state) {
        benchFrame([] { drawPhaseShift(kLongestCurves); });
    }
}

}  // namespace

BENCHMARK(BM_RotationJustBelowATurn)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SineCosineAtLongestCurves)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SineCosineAtLongestCurvesWithoutLabels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PhaseShiftAtLongestCurves)->Unit(benchmark::kMicrosecond);
