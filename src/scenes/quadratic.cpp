// The parabola y = a x^2 + b x on a coordinate cross; the mouse sets a and b.
#include "scenes/safe_pixel.h"
#include "scenes/scene_layout.h"
#include "scenes/scenes.h"

#include "common/app_state.h"
#include "common/text.h"

namespace {

constexpr int kOriginColumn = kFrameCentre.x;  // the axes cross at the frame's centre
constexpr int kOriginRow = kFrameCentre.y;
constexpr int kMarkSpacing = 40;               // pixels per unit on both axes
constexpr float kPixelsPerUnit = static_cast<float>(kMarkSpacing);
constexpr int kLastMark = kOriginColumn;       // marks run out 640 pixels on all four sides
constexpr int kMarkHalfLength = 5;             // every mark is 11 pixels long
constexpr int kCurveReach = kOriginColumn;     // offsets -640 to 640: the curve spans the frame
constexpr float kCurveZeroRow = static_cast<float>(kOriginRow);  // the height 0 lies on the x axis
// The pointer's row sets a, 0 on the middle row and 1 two hundred rows above it; its column sets
// b in units of the marks, 0 in the middle column.
constexpr float kMiddleRow = static_cast<float>(kFrameCentre.y);
constexpr float kRowsPerUnitOfA = 200.0f;
constexpr float kMiddleColumn = static_cast<float>(kFrameCentre.x);
constexpr float kColumnsPerUnitOfB = kPixelsPerUnit;

void drawAxes()
{
    SDL_RenderDrawLine(app.renderer, 0, kOriginRow, kWindowWidth, kOriginRow);
    SDL_RenderDrawLine(app.renderer, kOriginColumn, 0, kOriginColumn, kWindowHeight);
    const int left = kOriginColumn - kMarkHalfLength;
    const int right = kOriginColumn + kMarkHalfLength;
    const int top = kOriginRow - kMarkHalfLength;
    const int bottom = kOriginRow + kMarkHalfLength;
    for (int j = kMarkSpacing; j <= kLastMark; j += kMarkSpacing) {
        SDL_RenderDrawLine(app.renderer, left, kOriginRow + j, right, kOriginRow + j);
        SDL_RenderDrawLine(app.renderer, left, kOriginRow - j, right, kOriginRow - j);
        SDL_RenderDrawLine(app.renderer, kOriginColumn + j, top, kOriginColumn + j, bottom);
        SDL_RenderDrawLine(app.renderer, kOriginColumn - j, top, kOriginColumn - j, bottom);
    }
}

// Whether any pixel of the line from (x1, y1) to (x2, y2) can lie in the window: the renderer
// rasterises a line whole, pixel by pixel, so a steep one far outside costs millions of pixels
// for nothing. Every pixel of a line lies between its ends, so this only drops invisible ones.
bool mayShow(int x1, int y1, int x2, int y2)
{
    const bool above = y1 < 0 && y2 < 0;
    const bool below = y1 >= kWindowHeight && y2 >= kWindowHeight;
    const bool leftOf = x1 < 0 && x2 < 0;
    const bool rightOf = x1 >= kWindowWidth && x2 >= kWindowWidth;
    return !(above || below || leftOf || rightOf);
}

// The polyline through the 1281 points of the curve, each line drawn from a point back to the
// one before it. A line with an end whose row is no pixel at all is left out.
void drawCurve(float a, float b)
{
    int previousRow = 0;
    bool previousValid = false;
    for (int offset = -kCurveReach; offset <= kCurveReach; ++offset) {
        const int column = offset + kOriginColumn;
        const float square = static_cast<float>(offset * offset) * a / kPixelsPerUnit;
        const float height = square + static_cast<float>(offset) * b;
        int row = 0;
        const bool valid = toPixel(kCurveZeroRow - height, row);
        if (valid && previousValid && mayShow(column, row, column - 1, previousRow)) {
            SDL_RenderDrawLine(app.renderer, column, row, column - 1, previousRow);
        }
        previousRow = row;
        previousValid = valid;
    }
}

}  // namespace

void plotQuadratic(float a, float b)
{
    drawLabel(app.smallFont, "Funkcja kwadratowa", kLabelColour, kLabelLeft, kTitleTop);
    SDL_SetRenderDrawColor(app.renderer, 255, 255, 255, 255);
    drawAxes();
    SDL_SetRenderDrawColor(app.renderer, 255, 255, 0, 0);
    drawCurve(a, b);
}

float quadraticA(int mouseY)
{
    return (kMiddleRow - static_cast<float>(mouseY)) / kRowsPerUnitOfA;
}

float quadraticB(int mouseX)
{
    return (static_cast<float>(mouseX) - kMiddleColumn) / kColumnsPerUnitOfB;
}

double quadraticRowOf(double a)
{
    return kMiddleRow - a * kRowsPerUnitOfA;
}

double quadraticColumnOf(double b)
{
    return kMiddleColumn + b * kColumnsPerUnitOfB;
}

void drawQuadraticAt(int mouseX, int mouseY)
{
    const float a = quadraticA(mouseY);
    const float b = quadraticB(mouseX);
    char readout[128];
    formatTwoValues(readout, sizeof readout, "a = %.4f | b = %.4f | c = 0", a, b);
    drawLabel(app.largeFont, readout, kLabelColour, kLabelLeft, kReadoutTop);
    plotQuadratic(a, b);
}
