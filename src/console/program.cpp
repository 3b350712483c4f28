// The menu, the cycle of window and frames, and the frame loop.
#include "console/program.h"

#include "common/app_state.h"
#include "common/mouse.h"
#include "common/text.h"
#include "common/window.h"
#include "console/console_platform.h"
#include "menu/menu.h"

#include <SDL.h>

#include <iostream>
#include <string>

namespace {

// Whether the media library came up in this cycle; when it did not, the console keeps its error.
bool mediaReady = false;

}  // namespace

void printMenu()
{
    for (const Picture& picture : kPictures) {
        printLine(picture.line);
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
    mediaReady = openWindow();
    return true;
}

void takeEvent(const SDL_Event& event)
{
    if (event.type == SDL_QUIT) {
        app.running = false;
    }
}

void runOneFrame(const Picture& picture)
{
    app.frameTicks = SDL_GetTicks();
    SDL_Event event;
    if (SDL_PollEvent(&event) != 0) {
        takeEvent(event);
    }
    drawFrame(picture, FrameInputs{app.frameTicks, readMouse()});
    SDL_RenderPresent(app.renderer);
}

void runFrameLoop()
{
    const Picture& picture = pictureFor(app.choice);
    while (app.running) {
        runOneFrame(picture);
    }
}

void endCycle()
{
    if (!mediaReady) {
        return;
    }
    closeWindow();
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
    prepareConsole();
    while (runCycle(std::cin)) {
    }
}
