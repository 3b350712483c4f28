// Three sine waves a third of a turn apart, each with its radius turning on the unit circle.
#include "scenes/scene_layout.h"
#include "scenes/scenes.h"
#include "scenes/unit_circle.h"

#include "common/app_state.h"
#include "common/text.h"

#include <cmath>
#include <vector>

namespace {

constexpr float kThirdTurn = 2.0943952f;      // 2 pi / 3
constexpr float kTwoThirdsTurn = 4.1887903f;  // 4 pi / 3
constexpr float kZeroRow = kCircleCentreF;    // the waves swing about row 200, the circle's centre

// Row of the value sin(angle) on the graph; the radii's tips use it too.
int waveRow(float angle)
{
    return static_cast<int>(kZeroRow - static_cast<float>(std::sin(static_cast<double>(angle))) * kPixelsPerUnit);
}

// The three waves from angle 0 up to phase, all white, so in one call to the renderer.
void drawWaves(float phase)
{
    std::vector<SDL_Point> points;
    points.reserve(3 * kMaxCurveSteps);
    for (float t = 0.0f; phase > t; t = nextTracerAngle(t)) {
        const int x = static_cast<int>(t * kPixelsPerRadian + kGraphOriginF);
        points.push_back({x, waveRow(t)});
        points.push_back({x, waveRow(t + kThirdTurn)});
        points.push_back({x, waveRow(t + kTwoThirdsTurn)});
    }
    SDL_SetRenderDrawColor(app.renderer, 255, 255, 255, 255);
    SDL_RenderDrawPoints(app.renderer, points.data(), static_cast<int>(points.size()));
}

// The radius at angle, and the connector from its tip's row at column xEnd back to the tip.
void drawRadius(float angle, int xEnd, Uint8 r, Uint8 g, Uint8 b)
{
    SDL_SetRenderDrawColor(app.renderer, r, g, b, 255);
    const int y = waveRow(angle);
    const int x = static_cast<int>(static_cast<float>(std::cos(static_cast<double>(angle))) * kPixelsPerUnit + kCircleCentreF);
    SDL_RenderDrawLine(app.renderer, kCircleCentre, kCircleCentre, x, y);
    SDL_RenderDrawLine(app.renderer, xEnd, y, x, y);
}

// The levels +1, 0 and -1 across the frame, over everything else: the circle's top, centre and
// bottom rows.
void drawLevels()
{
    SDL_SetRenderDrawColor(app.renderer, 127, 127, 127, 255);
    SDL_RenderDrawLine(app.renderer, 0, kCircleTop, kWindowWidth, kCircleTop);
    SDL_RenderDrawLine(app.renderer, 0, kCircleCentre, kWindowWidth, kCircleCentre);
    SDL_RenderDrawLine(app.renderer, 0, kCircleBottom, kWindowWidth, kCircleBottom);
}

}  // namespace

void drawPhaseShift(float phase)
{
    drawLabel(app.smallFont, "Przesuniecie fazowe", kLabelColour, kLabelLeft, kTitleTop);
    drawUnitCircle();
    drawWaves(phase);
    const int xEnd = static_cast<int>(phase * kPixelsPerRadian + kGraphOriginF);
    drawRadius(phase, xEnd, 255, 0, 0);
    drawRadius(phase + kThirdTurn, xEnd, 0, 255, 0);
    drawRadius(phase + kTwoThirdsTurn, xEnd, 0, 0, 255);
    drawLevels();
}
