// Fitting the frame to a screen and mapping a screen point back to a frame pixel.
#include "common/frame_on_screen.h"

#include "common/app_state.h"

#include <algorithm>
#include <cstdint>

SDL_Rect frameOnScreen(int width, int height)
{
    const std::int64_t w = std::max(width, 0);
    const std::int64_t h = std::max(height, 0);
    // Whole pixels, rounded down, so the frame never reaches past the screen.
    if (w * kWindowHeight <= h * kWindowWidth) {  // as narrow as 16:9 or narrower: bars above and below
        const int fitted = static_cast<int>(w * kWindowHeight / kWindowWidth);
        return SDL_Rect{0, static_cast<int>(h - fitted) / 2, static_cast<int>(w), fitted};
    }
    const int fitted = static_cast<int>(h * kWindowWidth / kWindowHeight);
    return SDL_Rect{static_cast<int>(w - fitted) / 2, 0, fitted, static_cast<int>(h)};
}

namespace {

// One coordinate: the offset into the rectangle scaled to frame pixels, rounded towards minus
// infinity, within [0, pixels - 1].
int frameCoordinate(int offset, int size, int pixels)
{
    if (size <= 0) {
        return 0;
    }
    const std::int64_t scaled = static_cast<std::int64_t>(offset) * pixels;
    std::int64_t q = scaled / size;
    if (scaled % size != 0 && scaled < 0) {
        --q;
    }
    return static_cast<int>(std::min<std::int64_t>(std::max<std::int64_t>(q, 0), pixels - 1));
}

}  // namespace

SDL_Point framePixelAt(SDL_Point p, const SDL_Rect& frame)
{
    return SDL_Point{frameCoordinate(p.x - frame.x, frame.w, kWindowWidth),
                     frameCoordinate(p.y - frame.y, frame.h, kWindowHeight)};
}
