// The sine from its Taylor series about 0; the mouse sets how many terms follow the leading x.
#include "scenes/safe_pixel.h"
#include "scenes/scene_layout.h"
#include "scenes/scenes.h"

#include "common/app_state.h"
#include "common/text.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr float kZeroRow = static_cast<float>(kFrameCentre.y);  // the middle row is the value 0
constexpr float kPixelsPerUnit = 100.0f;    // the value 1 lies 100 rows above it
constexpr float kColumnsPerRadian = 200.0f;
constexpr int kLargestFiniteFactorial = 170;  // 171! is beyond the double range
// Terms up to x^169 / 169! have finite denominators; from x^171 on the denominator is infinite.
constexpr int kFiniteTerms = (kLargestFiniteFactorial - 1) / 2;
// One more term for every tenth of the width: one term after the x at the left edge.
constexpr long long kTermBands = 10;
constexpr long long kBandColumns = kWindowWidth;

// The denominators (2k+1)! of the terms k = 1, 2, ... that are finite, as far as the precision
// asks; entry k - 1 belongs to term k.
std::vector<double> denominators(int precision)
{
    std::vector<double> d;
    for (int k = 1; k <= precision && k <= kFiniteTerms; ++k) {
        d.push_back(factorial(2 * k + 1));
    }
    return d;
}

// The partial sum x - x^3/3! + x^5/5! - ... with `precision` terms after the x, every term
// from its own power and factorial (the denominators are the same for every column, so they
// are worked out once a frame). From 171! on the factorial is infinite, so every later term of
// an x of 0 or more is a zero that leaves the sum as it is, unless its power overflows too and
// makes the sum not a number; the powers of an x above 1 grow with the exponent, so the last
// one decides.
double taylorSine(double x, int precision, const std::vector<double>& denominator)
{
    double sum = x;
    const int finiteTerms = static_cast<int>(denominator.size());
    for (int k = 1; k <= finiteTerms; ++k) {
        const int n = 2 * k + 1;
        const double power = std::pow(x, static_cast<double>(n));
        double t = power / denominator[static_cast<std::size_t>(k - 1)];
        if (k % 2 == 1) {
            t = -t;
        }
        sum = sum + t;
    }
    if (precision > finiteTerms && std::isinf(std::pow(x, 2.0 * precision + 1.0))) {
        return NAN;
    }
    return sum;
}

}  // namespace

// The number of terms for the pointer's column m: (10 m) / 1280 + 1, truncated toward zero. The
// product is formed in 64 bits so that no int m can overflow it.
int taylorPrecision(int mouseX)
{
    return static_cast<int>(static_cast<long long>(mouseX) * kTermBands / kBandColumns + 1);
}

double taylorColumnOf(double precision)
{
    return (precision - 1.0) * static_cast<double>(kBandColumns / kTermBands);
}

double factorial(int n)
{
    if (n <= 1) {
        return 1.0;
    }
    if (n > kLargestFiniteFactorial) {
        return HUGE_VAL;  // what the recursion would reach, without recursing that deep
    }
    return n * factorial(n - 1);
}

void drawComputedSineAt(int mouseX)
{
    const int precision = taylorPrecision(mouseX);
    drawLabel(app.smallFont, "Obliczony sinus", kLabelColour, kLabelLeft, kTitleTop);
    SDL_SetRenderDrawColor(app.renderer, 255, 255, 255, 255);

    const std::vector<double> denominator = denominators(precision);
    std::array<SDL_Point, kWindowWidth> points;
    int count = 0;
    for (int i = 0; i < kWindowWidth; ++i) {
        const double x = static_cast<double>(static_cast<float>(i) / kColumnsPerRadian);
        const float sum = static_cast<float>(taylorSine(x, precision, denominator));
        int row = 0;
        if (toPixel(kZeroRow - sum * kPixelsPerUnit, row)) {
            points[static_cast<std::size_t>(count++)] = {i, row};
        }
    }
    SDL_RenderDrawPoints(app.renderer, points.data(), count);

    char readout[32];
    formatText(readout, sizeof readout, "precyzja: %i", precision);
    drawLabel(app.largeFont, readout, kLabelColour, kLabelLeft, kReadoutTop);
}
