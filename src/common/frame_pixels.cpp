// Reading a drawn frame back.
#include "common/frame_pixels.h"

#include "common/app_state.h"

SDL_Surface* makeFramePixels(std::string& why)
{
    SDL_Surface* pixels = SDL_CreateRGBSurfaceWithFormat(0, kWindowWidth, kWindowHeight, 24, SDL_PIXELFORMAT_RGB24);
    if (pixels == nullptr) {
        why = SDL_GetError();
    }
    return pixels;
}

bool readFramePixels(SDL_Surface* pixels, std::string& why)
{
    // The frame's own rectangle: a window the system has made larger holds more than the frame.
    const SDL_Rect frame{0, 0, pixels->w, pixels->h};
    if (SDL_RenderReadPixels(app.renderer, &frame, pixels->format->format, pixels->pixels, pixels->pitch) != 0) {
        why = SDL_GetError();
        return false;
    }
    return true;
}
