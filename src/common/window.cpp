// Opening and closing the window of one picture.
#include "common/window.h"

#include "common/app_state.h"
#include "common/fonts.h"
#include "common/text.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>

bool openWindow(WindowPlace place, std::string& why)
{
    const bool headless = place == kHeadless;
    if (headless) {
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "dummy", SDL_HINT_OVERRIDE);
        SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_OVERRIDE);
    }
    app.running = false;
    if (SDL_Init(headless ? SDL_INIT_VIDEO : kAllSubsystems) != 0) {
        why = SDL_GetError();
        if (!headless) {
            printLine(("SDL_Init: " + why).c_str());
        }
        return false;
    }
    if (!headless) {
        printLine("Subsystems initialised!");
    }
    app.window = SDL_CreateWindow("Plotnik", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  kWindowWidth, kWindowHeight, 0);
    if (app.window != nullptr) {
        if (!headless) {
            printLine("Window created!");
        }
        app.renderer = SDL_CreateRenderer(app.window, -1, 0);
    }
    if (app.renderer != nullptr && !headless) {
        printLine("Renderer created!");
    }
    // With no window there is nothing to draw into and nothing to close: no frames.
    if (app.window == nullptr || (headless && app.renderer == nullptr)) {
        why = SDL_GetError();
        if (!headless) {
            printLine(("Nie udało się otworzyć okna: " + why).c_str());
        }
        closeWindow();
        return false;
    }
    app.running = true;

    TTF_Init();
    openFonts();
    return true;
}

void closeWindow()
{
    closeFonts();
    TTF_Quit();
    if (app.renderer != nullptr) {
        SDL_DestroyRenderer(app.renderer);
    }
    if (app.window != nullptr) {
        SDL_DestroyWindow(app.window);
    }
    app.renderer = nullptr;
    app.window = nullptr;
    SDL_Quit();
}
