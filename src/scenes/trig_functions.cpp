// Sine (red), cosine (green) and tangent (blue) on one centre line, squeezed by a frequency that
// climbs from 0 to just under 20 every four seconds.
#include "scenes/scene_layout.h"
#include "scenes/scenes.h"

#include "common/app_state.h"
#include "common/text.h"

#include <cmath>

namespace {

constexpr float kCentreRow = static_cast<float>(kFrameCentre.y);  // the middle row is the value 0
constexpr float kPixelsPerUnit = 100.0f;     // a value of +1 lies 100 rows above the centre line
constexpr float kSamplesPerRadian = 200.0f;  // sample i stands for the angle i / 200
// Sample i lands in column i / f, so the samples below f times the width fill the window.
constexpr float kColumns = static_cast<float>(kWindowWidth);
// The frequency climbs by 0.1 every 20 ms and falls back to 0 after 200 such steps (4 s).
constexpr float kMillisecondsPerStep = 20.0f;
constexpr double kStepsPerCycle = 200.0;
constexpr float kFrequencyPerStep = 0.1f;
constexpr double kFrequencyPerStepExact = 0.1;
// The graphs' names stand one under another in the top left corner, the frequency right of them.
constexpr int kCosineNameTop = 24;
constexpr int kTangentNameTop = 36;
constexpr int kFrequencyLeft = 100;
constexpr int kFrequencyTop = 24;

// One graph: a point for every sample i below bound, in column i / f. Every point of a graph has
// the same colour, so they go to the renderer in runs of kPointRun points; a run that size stays in
// the heap's reused memory instead of being mapped and unmapped every frame.
void drawGraph(double (*g)(double), SDL_Color colour, float f, float bound)
{
    if (!(bound > 0.0f)) {
        return;
    }
    constexpr int kPointRun = 2048;
    SDL_Point points[kPointRun];
    int count = 0;
    SDL_SetRenderDrawColor(app.renderer, colour.r, colour.g, colour.b, colour.a);
    for (int i = 0; static_cast<float>(i) < bound; ++i) {
        const float sample = static_cast<float>(i);
        const float angle = sample / kSamplesPerRadian;
        const float value = static_cast<float>(g(static_cast<double>(angle)));
        const int y = static_cast<int>(kCentreRow - value * kPixelsPerUnit);
        const int x = static_cast<int>(sample / f);
        points[count++] = {x, y};
        if (count == kPointRun) {
            SDL_RenderDrawPoints(app.renderer, points, count);
            count = 0;
        }
    }
    SDL_RenderDrawPoints(app.renderer, points, count);
}

double sine(double a) { return std::sin(a); }
double cosine(double a) { return std::cos(a); }
double tangent(double a) { return std::tan(a); }

}  // namespace

// The frequency for a clock value: (ticks mod 4000) / 200, up to single-precision error.
float trigFrequency(std::uint32_t ticks)
{
    const float clock = static_cast<float>(static_cast<double>(ticks));
    const float scaled = clock / kMillisecondsPerStep;
    const float wrapped = static_cast<float>(std::fmod(static_cast<double>(scaled), kStepsPerCycle));
    return wrapped * kFrequencyPerStep;
}

double trigTicksOf(double f, std::uint32_t near)
{
    const double cycle = kStepsPerCycle * kMillisecondsPerStep;  // 4000 ms
    const double start = static_cast<double>(near) - std::fmod(static_cast<double>(near), cycle);
    return start + f / kFrequencyPerStepExact * kMillisecondsPerStep;
}

void drawTrigFunctionsAt(std::uint32_t ticks)
{
    const float f = trigFrequency(ticks);
    char readout[16];
    formatText(readout, sizeof readout, "%.2f Hz", static_cast<double>(f));

    const float bound = f * kColumns;
    drawLabel(app.smallFont, "Sinusoida", {255, 0, 0, 0}, kLabelLeft, kTitleTop);
    drawGraph(sine, {255, 0, 0, 255}, f, bound);
    drawLabel(app.smallFont, "Cosinusoida", {0, 255, 0, 0}, kLabelLeft, kCosineNameTop);
    drawGraph(cosine, {0, 255, 0, 255}, f, bound);
    drawLabel(app.smallFont, "Tangensoida", {0, 0, 255, 0}, kLabelLeft, kTangentNameTop);
    drawGraph(tangent, {0, 0, 255, 255}, f, bound);
    drawLabel(app.largeFont, readout, kLabelColour, kFrequencyLeft, kFrequencyTop);
}
