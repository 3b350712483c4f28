// The first 128 terms of the logistic sequence; the mouse sets the start value and the rate.
#include "scenes/safe_pixel.h"
#include "scenes/scene_layout.h"
#include "scenes/scenes.h"

#include "common/app_state.h"
#include "common/text.h"

#include <array>

namespace {

constexpr int kColumnStep = 10;            // one term every 10 columns
constexpr int kTerms = kWindowWidth / kColumnStep;
constexpr float kZeroRow = static_cast<float>(kFrameCentre.y);  // the middle row is the value 0
constexpr float kPixelsPerUnit = 100.0f;   // the value 1 lies 100 rows above it
// The pointer's row sets the start value, 1 on the top row; its column the rate, 0 at the left edge
// and 4 one column past the right.
constexpr float kStartRows = static_cast<float>(kWindowHeight);
constexpr float kRateColumns = static_cast<float>(kWindowWidth);
constexpr float kMaxRate = 4.0f;

// The points of the sequence x(n+1) = k x(n) (1 - x(n)), term n in column 10 n. Terms whose row
// cannot be a pixel (the sequence diverges for rates above 4) are left out.
int sequencePoints(float x0, float k, std::array<SDL_Point, kTerms>& points)
{
    int count = 0;
    float x = x0;
    for (int c = 0; c < kWindowWidth; c += kColumnStep) {
        int row = 0;
        if (toPixel(kZeroRow - x * kPixelsPerUnit, row)) {
            points[static_cast<std::size_t>(count++)] = {c, row};
        }
        x = (1.0f - x) * (x * k);
    }
    return count;
}

}  // namespace

float logisticStart(int mouseY)
{
    return 1.0f - static_cast<float>(mouseY) / kStartRows;
}

float logisticRate(int mouseX)
{
    return (static_cast<float>(mouseX) / kRateColumns) * kMaxRate;
}

double logisticRowOf(double x0)
{
    return (1.0 - x0) * kStartRows;
}

double logisticColumnOf(double k)
{
    return k / kMaxRate * kRateColumns;
}

void drawLogisticMapAt(int mouseX, int mouseY)
{
    const float x0 = logisticStart(mouseY);
    const float k = logisticRate(mouseX);
    char readout[32];
    formatTwoValues(readout, sizeof readout, "x0 = %.4f | k = %.4f", x0, k);

    SDL_SetRenderDrawColor(app.renderer, 255, 255, 255, 255);
    drawLabel(app.smallFont, "Odwzorowanie logistyczne", kLabelColour, kLabelLeft, kTitleTop);
    std::array<SDL_Point, kTerms> points;
    const int count = sequencePoints(x0, k, points);
    SDL_RenderDrawPoints(app.renderer, points.data(), count);
    drawLabel(app.largeFont, readout, kLabelColour, kLabelLeft, kReadoutTop);
}
