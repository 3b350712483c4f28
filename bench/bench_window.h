// Benchmark support: the same 1280 x 720 dummy-driver window the tests draw into.
#pragma once

#include "common/app_state.h"
#include "common/window.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// Opens the window, renderer and fonts into app once for the whole benchmark program.
inline void ensureBenchWindow()
{
    if (app.renderer != nullptr) {
        return;
    }
    std::string why;
    if (!openWindow(kHeadless, why)) {
        std::fprintf(stderr, "no window to draw in: %s\n", why.c_str());
        std::exit(1);
    }
}

// One frame as the main loop draws it: clear, scene, present.
template <typename Draw>
inline void benchFrame(Draw draw)
{
    SDL_SetRenderDrawColor(app.renderer, 0, 0, 0, 0);
    SDL_RenderClear(app.renderer);
    draw();
    SDL_RenderPresent(app.renderer);
}
