// The page's own copy of the frame to the canvas.
#include "web/page_frame.h"

#include "common/app_state.h"

#include <emscripten.h>

#include <cstdint>

namespace {

// The canvas takes its pixels as red, green, blue and alpha bytes; the frame's bytes are red,
// green, blue and one unused, made opaque before the copy.
constexpr std::uint32_t kOpaque = 0xFF000000u;

EM_JS(void, putOnCanvas, (const void* pixels, int width, int height), {
    var bytes = new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4);
    Module['canvas'].getContext('2d').putImageData(new ImageData(bytes, width, height), 0, 0);
});

}  // namespace

SDL_Surface* findFrameMemory()
{
    if (app.window == nullptr || app.renderer == nullptr) {
        return nullptr;
    }
    SDL_Surface* pixels = SDL_GetWindowSurface(app.window);
    if (pixels != nullptr && pixels->format->BytesPerPixel == 4 && pixels->pitch == pixels->w * 4 &&
        pixels->format->Rshift == 0 && pixels->format->Gshift == 8 && pixels->format->Bshift == 16) {
        return pixels;
    }
    return nullptr;
}

void showFrame(SDL_Surface* frameMemory)
{
    if (frameMemory == nullptr) {
        SDL_RenderPresent(app.renderer);
        return;
    }
    auto* pixel = static_cast<std::uint32_t*>(frameMemory->pixels);
    const int count = frameMemory->w * frameMemory->h;
    for (int i = 0; i < count; ++i) {
        pixel[i] |= kOpaque;
    }
    putOnCanvas(frameMemory->pixels, frameMemory->w, frameMemory->h);
}
