// The bifurcation diagram of the logistic map for rates from -2 to just below 4.
#include "scenes/scene_layout.h"
#include "scenes/scenes.h"

#include "common/app_state.h"
#include "common/text.h"

#include <array>
#include <cstddef>

namespace {

constexpr int kRates = 1200;          // one rate per column
constexpr int kFirstColumn = 40;      // rate -2 is drawn here, 3.995 in column 1239
constexpr int kSteps = 512;
constexpr int kLastHiddenStep = 256;  // terms up to x(256) are the transient
constexpr float kZeroRow = 500.0f;        // row of the value 0
constexpr float kPixelsPerUnit = 300.0f;  // the value 1 lies 300 rows above it
// Column i + 40 has the rate i / 200 - 2, and its sequence starts at 0.5.
constexpr float kColumnsPerUnitOfRate = 200.0f;
constexpr float kRateShift = 2.0f;
constexpr float kStartValue = 0.5f;

using Columns = std::array<float, kRates>;
using Points = std::array<SDL_Point, kRates>;

// Every column runs its own sequence, so all 1200 advance side by side, one step at a time;
// each column still sees exactly the single-precision operations of its own loop.
void advanceColumns(const Columns& r, Columns& x)
{
    for (int i = 0; i < kRates; ++i) {
        x[i] = (r[i] * x[i]) * (1.0f - x[i]);
    }
}

// The point of the current term of every column.
void placeTerms(const Columns& x, Points& points)
{
    for (int i = 0; i < kRates; ++i) {
        points[i].x = i + kFirstColumn;
        points[i].y = static_cast<int>(kZeroRow - x[i] * kPixelsPerUnit);
    }
}

// Runs all 1200 sequences and hands over the points of each drawn step, x(257) to x(511), one
// point per column, as soon as they are known.
template <typename Take>
void runDiagram(Take take)
{
    Columns r;
    Columns x;
    for (int i = 0; i < kRates; ++i) {
        r[i] = static_cast<float>(i) / kColumnsPerUnitOfRate - kRateShift;
        x[i] = kStartValue;
    }
    Points points;
    for (int n = 0; n < kSteps; ++n) {
        if (n > kLastHiddenStep) {
            placeTerms(x, points);
            take(points);
        }
        advanceColumns(r, x);
    }
}

}  // namespace

std::vector<SDL_Point> bifurcationPoints()
{
    std::vector<SDL_Point> all;
    all.reserve(static_cast<std::size_t>(kRates * (kSteps - 1 - kLastHiddenStep)));
    runDiagram([&all](const Points& points) {
        all.insert(all.end(), points.begin(), points.end());
    });
    return all;
}

void drawBifurcation()
{
    drawLabel(app.smallFont, "Diagram bifurkacyjny odwzorowania logistycznego (iteracje 256-512)",
              kLabelColour, kLabelLeft, kTitleTop);
    SDL_SetRenderDrawColor(app.renderer, 255, 255, 255, 255);
    // All points are white, so they may reach the renderer a step at a time: a few small
    // batches instead of one large one that would need fresh memory every frame.
    runDiagram([](const Points& points) {
        SDL_RenderDrawPoints(app.renderer, points.data(), kRates);
    });
}
