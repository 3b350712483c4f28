// The menu, the cycle of window and frames, and the frame loop.
#include "console/program.h"

#include "common/app_state.h"
#include "common/fonts.h"
#include "common/text.h"
#include "menu/menu.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <unistd.h>

#include <iostream>
#include <string>

namespace {

constexpr Uint32 kAllSubsystems = 0xF231;  // timer, audio, video, joystick, haptic, controller, events, sensor

// Whether the media library came up in this cycle; when it did not, the console keeps its error.
bool mediaReady = false;

// Clears a terminal; a pipe or file gets nothing, so transcripts stay clean.
void clearConsole()
{
    if (isatty(STDOUT_FILENO)) {
        std::cout << "\033[2J\033[H" << std::flush;
    }
}

}  // namespace

void printMenu()
{
    for (const MenuItem& item : kMenuItems) {
        printLine(item.line);
    }
    printLine("");
    std::cout << "wybor: " << std::flush;
}

bool beginCycle(std::istream& in)
{
    printMenu();
    if (!(in >> app.choice)) {
        return false;
    }

    // Ctrl-C and SIGTERM must end the process, not become quit events.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    mediaReady = SDL_Init(kAllSubsystems) == 0;
    if (!mediaReady) {
        const std::string line = std::string("SDL_Init: ") + SDL_GetError();
        printLine(line.c_str());
        app.running = false;
        return true;
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

void runFrameLoop()
{
    while (app.running) {
        app.frameTicks = SDL_GetTicks();
        SDL_Event event;
        if (SDL_PollEvent(&event) != 0 && event.type == SDL_QUIT) {
            app.running = false;
        }
        drawFrame();
    }
}

void endCycle()
{
    if (!mediaReady) {
        return;
    }
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
    mediaReady = false;
    clearConsole();
}

bool runCycle(std::istream& in)
{
    if (!beginCycle(in)) {
        return false;
    }
    runFrameLoop();
    endCycle();
    return true;
}

void runProgram()
{
    while (runCycle(std::cin)) {
    }
}
