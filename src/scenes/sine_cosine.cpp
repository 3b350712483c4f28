// Sine and cosine as the projections of a point moving on the unit circle, traced as curves.
#include "scenes/scene_layout.h"
#include "scenes/scenes.h"
#include "scenes/unit_circle.h"

#include "common/app_state.h"
#include "common/text.h"

#include <cmath>
#include <vector>

namespace {

constexpr std::size_t kReadoutCapacity = 32;

constexpr float kCosineZeroRow = kCircleCentreF;  // the cosine swings about the circle's centre row
constexpr int kSineZeroRow = 500;
constexpr float kSineZeroRowF = static_cast<float>(kSineZeroRow);
// Sine +1, where the offset turns down the diagonal, and sine -1.
constexpr int kSineTopRow = kSineZeroRow - kCircleRadius;
constexpr int kSineBottomRow = kSineZeroRow + kCircleRadius;
constexpr int kDiagonalEnd = kCircleRight;  // column where the diagonals meet the sine graph

// The angle's readout under the title; the cosine's and the sine's just right of the angle-0 axis,
// a line above their graph's level +1.
constexpr int kAngleReadoutTop = 36;
constexpr int kValueReadoutLeft = 405;
constexpr int kCosineReadoutTop = 83;
constexpr int kSineReadoutTop = 383;

// Each line of the grid from its first point to its second.
constexpr SDL_Point kGrid[][2] = {
    // the cosine's levels +1, 0 and -1 across the frame
    {{0, kCircleTop}, {kWindowWidth, kCircleTop}},
    {{0, kCircleCentre}, {kWindowWidth, kCircleCentre}},
    {{0, kCircleBottom}, {kWindowWidth, kCircleBottom}},
    // the sine's levels +1, 0 and -1, from where the diagonals end
    {{kDiagonalEnd, kSineTopRow}, {kWindowWidth, kSineTopRow}},
    {{kDiagonalEnd, kSineZeroRow}, {kWindowWidth, kSineZeroRow}},
    {{kDiagonalEnd, kSineBottomRow}, {kWindowWidth, kSineBottomRow}},
    // the circle's extent sideways, down to the sine's level +1
    {{kCircleLeft, 0}, {kCircleLeft, kSineTopRow}},
    {{kCircleCentre, 0}, {kCircleCentre, kSineTopRow}},
    {{kCircleRight, 0}, {kCircleRight, kSineTopRow}},
    // the angle-0 axis, the frame's full height
    {{kGraphOrigin, 0}, {kGraphOrigin, kWindowHeight}},
    // the two diagonals, from the sine's level +1 down to its levels -1 and 0
    {{kCircleLeft, kSineTopRow}, {kDiagonalEnd, kSineBottomRow}},
    {{kCircleCentre, kSineTopRow}, {kDiagonalEnd, kSineZeroRow}},
};

// The angle within the current turn, which the readouts show.
double angleInTurn(float phase)
{
    return std::fmod(static_cast<double>(phase), kTwoPi);
}

void drawReadouts(float phase)
{
    char text[kReadoutCapacity];
    formatAngleReadout(text, sizeof text, phase);
    drawLabel(app.smallFont, text, kLabelColour, kLabelLeft, kAngleReadoutTop);
    formatCosineReadout(text, sizeof text, phase);
    drawLabel(app.smallFont, text, kLabelColour, kValueReadoutLeft, kCosineReadoutTop);
    formatSineReadout(text, sizeof text, phase);
    drawLabel(app.smallFont, text, kLabelColour, kValueReadoutLeft, kSineReadoutTop);
}

void drawGrid()
{
    SDL_SetRenderDrawColor(app.renderer, 127, 127, 127, 255);
    for (const auto& line : kGrid) {
        SDL_RenderDrawLine(app.renderer, line[0].x, line[0].y, line[1].x, line[1].y);
    }
}

// Red carries the point's height across to the cosine graph; blue carries its sideways offset
// down, along the 45-degree diagonal and across to the sine graph.
void drawProjections(float phase)
{
    const float c = static_cast<float>(std::cos(static_cast<double>(phase)));
    const float s = static_cast<float>(std::sin(static_cast<double>(phase)));
    const int x = kCircleCentre + static_cast<int>(s * kPixelsPerUnit);
    const int y = kCircleCentre - static_cast<int>(c * kPixelsPerUnit);
    const int xEnd = kGraphOrigin + static_cast<int>(phase * kPixelsPerRadian);
    const int ySine = kSineZeroRow - static_cast<int>(s * kPixelsPerUnit);

    SDL_SetRenderDrawColor(app.renderer, 255, 0, 0, 255);
    SDL_RenderDrawLine(app.renderer, x, y, xEnd, y);
    SDL_SetRenderDrawColor(app.renderer, 0, 0, 255, 255);
    SDL_RenderDrawLine(app.renderer, x, y, x, kSineTopRow);
    SDL_RenderDrawLine(app.renderer, x, kSineTopRow, kDiagonalEnd, ySine);
    SDL_RenderDrawLine(app.renderer, kDiagonalEnd, ySine, xEnd, ySine);
}

// The cosine about row 200 and the sine about row 500, from angle 0 up to phase; all white, so
// both go to the renderer in one call.
void drawCurves(float phase)
{
    std::vector<SDL_Point> points;
    points.reserve(2 * kMaxCurveSteps);
    for (float t = 0.0f; phase > t; t = nextTracerAngle(t)) {
        const int x = static_cast<int>(t * kPixelsPerRadian + kGraphOriginF);
        const float c = static_cast<float>(std::cos(static_cast<double>(t)));
        const float s = static_cast<float>(std::sin(static_cast<double>(t)));
        points.push_back({x, static_cast<int>(kCosineZeroRow - c * kPixelsPerUnit)});
        points.push_back({x, static_cast<int>(kSineZeroRowF - s * kPixelsPerUnit)});
    }
    SDL_SetRenderDrawColor(app.renderer, 255, 255, 255, 255);
    SDL_RenderDrawPoints(app.renderer, points.data(), static_cast<int>(points.size()));
}

}  // namespace

void formatAngleReadout(char* buffer, std::size_t capacity, float phase)
{
    const double r = angleInTurn(phase);
    const double degrees = r / kPi * kDegreesPerPi;
    formatText(buffer, capacity, "%.4f deg = %.4f rad", degrees, r);
}

void formatCosineReadout(char* buffer, std::size_t capacity, float phase)
{
    const float c = static_cast<float>(std::cos(static_cast<double>(phase)));
    formatText(buffer, capacity, "cos(%.4frad) = %.4f", angleInTurn(phase), static_cast<double>(c));
}

void formatSineReadout(char* buffer, std::size_t capacity, float phase)
{
    const float s = static_cast<float>(std::sin(static_cast<double>(phase)));
    formatText(buffer, capacity, "sin(%.4frad) = %.4f", angleInTurn(phase), static_cast<double>(s));
}

void drawSineCosine(float phase)
{
    drawLabel(app.smallFont, "Graficzne przedstawienie sinusa i cosinusa", kLabelColour, kLabelLeft, kTitleTop);
    drawReadouts(phase);
    drawUnitCircle();
    drawGrid();
    drawProjections(phase);
    drawCurves(phase);
}
