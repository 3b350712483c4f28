// Opening and closing the window of one picture.
#include "common/window.h"

#include "common/app_state.h"
#include "common/fonts.h"
#include "common/text.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>

namespace {
constexpr Uint32 kAllSubsystems = 0xF231;  // timer, audio, video, joystick, haptic, controller, events, sensor
}  // namespace

bool openWindow()
{
    if (SDL_Init(kAllSubsystems) != 0) {
        const std::string line = std::string("SDL_Init: ") + SDL_GetError();
        printLine(line.c_str());
        app.running = false;
        return false;
    }
    printLine("Subsystems initialised!");
    app.window = SDL_CreateWindow("Plotnik", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  kWindowWidth, kWindowHeight, 0);
    if (app.window != nullptr) {
        printLine("Window created!");
        app.renderer = SDL_CreateRenderer(app.window, -1, 0);
    }
    if (app.renderer != nullptr) {
        printLine("Renderer created!");
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
