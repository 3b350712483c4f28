// The divisors of 1 to 1280, one number per column, with a dark red bar and a blue running count
// for every number that passes the trial division (1 included).
#include "scenes/scene_layout.h"
#include "scenes/scenes.h"

#include "common/app_state.h"
#include "common/text.h"

#include <vector>

namespace {

constexpr int kColumns = kWindowWidth;  // column x stands for the number x + 1
constexpr int kMaxDivisor = 500;        // divisor d is drawn in row kZeroRow + d
constexpr int kZeroRow = 200;           // top of every bar; row 201 is the divisor 1
constexpr int kExpectedWhite = 8447;
constexpr int kExpectedPassing = 208;

// Trial division. Nothing is special-cased, so 1, 2 and 3 pass without a division. Stopping at the
// square root decides every e as stopping at e / 2 would: a divisor above the root has its partner below.
bool passesTrialDivision(int e)
{
    for (int j = 2; j * j <= e; ++j) {
        if (e % j == 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

// Within a column the bar comes first, then the blue point, then the white divisor points; no
// colour reaches into another column. So drawing all bars, then all blue points, then all white
// points leaves every pixel as the column-by-column order does, with one renderer call per colour
// for the points.
void drawPrimeGraph()
{
    drawLabel(app.smallFont, "Liczby pierwsze graf", kLabelColour, kLabelLeft, kTitleTop);

    std::vector<SDL_Point> blue;
    blue.reserve(kExpectedPassing);
    SDL_SetRenderDrawColor(app.renderer, 64, 0, 0, 255);
    int count = 0;
    for (int x = 0; x < kColumns; ++x) {
        if (passesTrialDivision(x + 1)) {
            ++count;
            SDL_RenderDrawLine(app.renderer, x, kZeroRow, x, x + kZeroRow);
            blue.push_back({x, kZeroRow - 1 + count});
        }
    }
    SDL_SetRenderDrawColor(app.renderer, 0, 0, 255, 255);
    SDL_RenderDrawPoints(app.renderer, blue.data(), static_cast<int>(blue.size()));

    // d divides e = x + 1 exactly in the columns x = d - 1, 2d - 1, ...
    std::vector<SDL_Point> white;
    white.reserve(kExpectedWhite);
    for (int d = 1; d <= kMaxDivisor; ++d) {
        for (int x = d - 1; x < kColumns; x += d) {
            white.push_back({x, kZeroRow + d});
        }
    }
    SDL_SetRenderDrawColor(app.renderer, 255, 255, 255, 255);
    SDL_RenderDrawPoints(app.renderer, white.data(), static_cast<int>(white.size()));
}
