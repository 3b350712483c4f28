// The page's own frame: a fill for the clear and one copy to the canvas.
#include "web/page_frame.h"

#include "common/app_state.h"
#include "menu/menu.h"

#include <SDL.h>
#include <emscripten.h>

#include <cstdint>
#include <cstring>

namespace {

SDL_Surface* frame = nullptr;  // the window's pixels, owned by the window

// The canvas takes its pixels as red, green, blue and alpha bytes; the frame's bytes are red,
// green, blue and one unused, made opaque before the copy.
constexpr std::uint32_t kOpaque = 0xFF000000u;

EM_JS(void, putOnCanvas, (const void* pixels, int width, int height), {
    var bytes = new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4);
    Module['canvas'].getContext('2d').putImageData(new ImageData(bytes, width, height), 0, 0);
});

}  // namespace

bool findFrame()
{
    frame = nullptr;
    if (app.window == nullptr || app.renderer == nullptr) {
        return false;
    }
    SDL_Surface* pixels = SDL_GetWindowSurface(app.window);
    if (pixels != nullptr && pixels->format->BytesPerPixel == 4 && pixels->pitch == pixels->w * 4 &&
        pixels->format->Rshift == 0 && pixels->format->Gshift == 8 && pixels->format->Bshift == 16) {
        frame = pixels;
    }
    return frame != nullptr;
}

void drawSceneFrame()
{
    SDL_SetRenderDrawColor(app.renderer, 0, 0, 0, 0);
    if (frame == nullptr) {
        SDL_RenderClear(app.renderer);
        dispatchScene();
        return;
    }
    // Black with alpha 0 is all zero bits in the frame's format: what SDL_RenderClear stores.
    std::memset(frame->pixels, 0, static_cast<std::size_t>(frame->pitch) * static_cast<std::size_t>(frame->h));
    dispatchScene();
    SDL_RenderFlush(app.renderer);
}

void showFrame()
{
    if (frame == nullptr) {
        SDL_RenderPresent(app.renderer);
        return;
    }
    auto* pixel = static_cast<std::uint32_t*>(frame->pixels);
    const int count = frame->w * frame->h;
    for (int i = 0; i < count; ++i) {
        pixel[i] |= kOpaque;
    }
    putOnCanvas(frame->pixels, frame->w, frame->h);
}
