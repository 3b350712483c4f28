// Benchmark support: the same 1280 x 720 dummy-driver window the tests draw into.
#pragma once

#include "common/app_state.h"
#include "common/fonts.h"

#include <SDL.h>
#include <SDL_ttf.h>

// Opens the window, renderer and fonts into app once for the whole benchmark program.
inline void ensureBenchWindow()
{
    if (app.renderer != nullptr) {
        return;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    SDL_Init(SDL_INIT_VIDEO);
    TTF_Init();
    app.window = SDL_CreateWindow("Plotnik", 0, 0, kWindowWidth, kWindowHeight, 0);
    app.renderer = SDL_CreateRenderer(app.window, -1, 0);
    openFonts();
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
