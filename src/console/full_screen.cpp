// Full screen on and off, the frame scaled to it, and where the mouse is in the frame.
#include "console/full_screen.h"

#include "common/app_state.h"
#include "common/frame_on_screen.h"
#include "common/mouse.h"
#include "common/text.h"
#include "console/picture_window.h"

#include <string>

namespace {

bool samePoint(SDL_Point a, SDL_Point b)
{
    return a.x == b.x && a.y == b.y;
}

// Where the mouse is in the window, in the window's pixels. Switching full screen on or off moves
// the window (and, with some window managers, the pointer too), as does a window manager placing
// it, and no event of the mouse tells: the window's own position of the mouse keeps the value it
// had before until the mouse moves, so meanwhile the pointer's place on the screen is asked for
// and taken from the window's.
SDL_Point mouseInWindow()
{
    const SDL_Point p = readMouse();
    if (!pictureWindow.mouseStale) {
        return p;
    }
    if (!samePoint(p, pictureWindow.mouseAtMove)) {
        pictureWindow.mouseStale = false;  // it has moved: the window's own value is right again
        return p;
    }
    SDL_Point screen{0, 0};
    int left = 0;
    int top = 0;
    SDL_GetGlobalMouseState(&screen.x, &screen.y);
    SDL_GetWindowPosition(app.window, &left, &top);
    return SDL_Point{screen.x - left, screen.y - top};
}

}  // namespace

void noteWindowMoving()
{
    if (pictureWindow.mouseStale || SDL_GetMouseFocus() != app.window) {
        return;  // noted already at an earlier move, or not over the window: nothing to keep
    }
    pictureWindow.mouseAtMove = readMouse();
    pictureWindow.mouseStale = true;
}

SDL_Point mouseInFrame()
{
    const SDL_Point p = mouseInWindow();
    if (!pictureWindow.fullScreen) {
        return p;
    }
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(app.window, &width, &height);
    return framePixelAt(p, frameOnScreen(width, height));
}

void drawScaledFrame(const Picture& picture, const FrameInputs& inputs, void (*save)(const Picture&, const FrameInputs&))
{
    SDL_SetRenderTarget(app.renderer, pictureWindow.frame);
    drawFrame(picture, inputs);
    save(picture, inputs);
    SDL_SetRenderTarget(app.renderer, nullptr);
    int width = 0;
    int height = 0;
    SDL_GetRendererOutputSize(app.renderer, &width, &height);
    const SDL_Rect onScreen = frameOnScreen(width, height);
    SDL_SetRenderDrawColor(app.renderer, 0, 0, 0, 0);
    SDL_RenderClear(app.renderer);
    SDL_RenderCopy(app.renderer, pictureWindow.frame, nullptr, &onScreen);
}

void setFullScreen(bool on)
{
    if (on == pictureWindow.fullScreen || app.window == nullptr || app.renderer == nullptr) {
        return;
    }
    if (!on) {
        noteWindowMoving();
        SDL_SetWindowFullscreen(app.window, 0);
        // Without a window manager nobody gives the window its size back.
        SDL_SetWindowSize(app.window, kWindowWidth, kWindowHeight);
        SDL_DestroyTexture(pictureWindow.frame);
        pictureWindow.frame = nullptr;
        pictureWindow.fullScreen = false;
        return;
    }
    SDL_Texture* frame = SDL_CreateTexture(app.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET,
                                           kWindowWidth, kWindowHeight);
    if (frame != nullptr) {
        // Copied as it is, and smoothed when scaled: a one-pixel line that nearest-pixel scaling
        // would draw one or two pixels wide by turns (x1.5), or drop (x0.8 on 1024 x 768),
        // keeps an even weight.
        SDL_SetTextureBlendMode(frame, SDL_BLENDMODE_NONE);
        SDL_SetTextureScaleMode(frame, SDL_ScaleModeLinear);
    }
    noteWindowMoving();
    if (frame == nullptr || SDL_SetWindowFullscreen(app.window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        const std::string line = std::string("Nie udało się przejść na pełny ekran: ") + SDL_GetError();
        printLine(line.c_str());
        if (frame != nullptr) {
            SDL_DestroyTexture(frame);
        }
        return;
    }
    pictureWindow.frame = frame;
    pictureWindow.fullScreen = true;
}
