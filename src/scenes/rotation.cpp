// A 200 x 100 rectangle outline turned by phase about the window's centre.
#include "scenes/scene_layout.h"
#include "scenes/scenes.h"

#include "common/app_state.h"
#include "common/text.h"

#include <cmath>

namespace {

// The rectangle turns about the frame's centre.
constexpr float kCentreX = static_cast<float>(kFrameCentre.x);
constexpr float kCentreY = static_cast<float>(kFrameCentre.y);
constexpr float kHalfLength = 100.0f;  // the long sides run along the direction of phase
constexpr float kHalfWidth = 50.0f;

}  // namespace

void drawRotation(float phase)
{
    drawLabel(app.smallFont, "Rotacja", kLabelColour, kLabelLeft, kTitleTop);
    SDL_SetRenderDrawColor(app.renderer, 255, 255, 255, 255);

    const float s = static_cast<float>(std::sin(static_cast<double>(phase)));
    const float c = static_cast<float>(std::cos(static_cast<double>(phase)));
    const float ws = kHalfWidth * s;
    const float wc = kHalfWidth * c;
    const float lc = kHalfLength * c;
    const float ls = kHalfLength * s;

    // The corners (-100, -50), (100, -50), (100, 50), (-100, 50) turned and moved to the centre;
    // each sum keeps its own grouping, and each finished coordinate is truncated.
    const SDL_Point corners[4] = {
        {static_cast<int>(kCentreX - (lc - ws)), static_cast<int>(kCentreY - (ls + wc))},
        {static_cast<int>((lc + ws) + kCentreX), static_cast<int>((ls - wc) + kCentreY)},
        {static_cast<int>((lc - ws) + kCentreX), static_cast<int>((ls + wc) + kCentreY)},
        {static_cast<int>(kCentreX - (ws + lc)), static_cast<int>((wc - ls) + kCentreY)},
    };
    for (int i = 0; i < 4; ++i) {
        const SDL_Point& from = corners[i];
        const SDL_Point& to = corners[(i + 1) % 4];
        SDL_RenderDrawLine(app.renderer, from.x, from.y, to.x, to.y);
    }
}
