// The menu, the cycle of window and frames, and the frame loop.
#include "console/program.h"

#include "common/app_state.h"
#include "common/text.h"
#include "common/window.h"
#include "console/console_platform.h"
#include "console/full_screen.h"
#include "console/saved_frame.h"
#include "console/window_keys.h"
#include "pictures/pictures.h"

#include <SDL.h>

#include <iostream>
#include <string>

PictureWindow pictureWindow;

namespace {

// Whether the window came up in this cycle; when it did not, the console keeps why.
bool mediaReady = false;

// The pointer follows the mouse when the mouse moves, and from its first frame over the window
// on; a held picture keeps its pointer. A mouse that never came over the window leaves the pointer
// unset, so the keys start from the frame's centre.
void followMouse()
{
    const SDL_Point mouse = mouseInFrame();
    const bool moved = mouse.x != pictureWindow.mouse.x || mouse.y != pictureWindow.mouse.y;
    pictureWindow.mouse = mouse;
    if (isHeld(pictureWindow.lesson)) {
        return;
    }
    pictureWindow.unheldMouse = mouse;
    const bool over = app.window != nullptr && SDL_GetMouseFocus() == app.window;
    if (moved || (over && !pictureWindow.lesson.pointerSet)) {
        pointerMoved(pictureWindow.lesson, mouse);
    }
}

// The frame asked for with Ctrl+S, read from where it was just drawn, before it is shown.
void saveIfAsked(const Picture& picture, const FrameInputs& inputs)
{
    if (pictureWindow.saveFrame) {
        pictureWindow.saveFrame = false;
        printLine(saveDrawnFrame(picture, inputs).c_str());
    }
}

}  // namespace

void printMenu()
{
    for (const Picture& picture : kPictures) {
        printLine(picture.line);
    }
    printLine("");
    std::cout << "wybor: " << std::flush;
}

bool readAnswer(std::istream& in, std::string& answer)
{
    return static_cast<bool>(in >> answer);
}

bool beginCycle(std::istream& in)
{
    printMenu();
    if (!readAnswer(in, app.choice)) {
        return false;
    }

    // Ctrl-C and SIGTERM must end the process, not become quit events.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // On Windows the window is drawn in the screen's own pixels: the system does not blow it up
    // (and blur it) on a screen scaled to 125 or 150 %.
    SDL_SetHint(SDL_HINT_WINDOWS_DPI_AWARENESS, "permonitorv2");
    pictureWindow = PictureWindow{};
    pictureWindow.lesson = startLesson(pictureFor(app.choice).steering);
    std::string why;  // the console has it already
    mediaReady = openWindow(kOnScreen, why);
    return true;
}

void takeEvent(const SDL_Event& event)
{
    if (event.type == SDL_QUIT) {
        app.running = false;
    } else if (event.type == SDL_KEYDOWN) {
        pressKey(event.key);
    } else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_MOVED) {
        noteWindowMoving();  // a still pointer now stands elsewhere in the window
    }
}

void runOneFrame(const Picture& picture)
{
    app.frameTicks = SDL_GetTicks();
    SDL_Event event;
    if (SDL_PollEvent(&event) != 0) {
        takeEvent(event);
    }
    followMouse();
    // Untouched, the lesson gives the frame exactly app.frameTicks and the mouse.
    const FrameInputs inputs = lessonFrame(pictureWindow.lesson, app.frameTicks, pictureWindow.unheldMouse);
    if (pictureWindow.fullScreen) {
        drawScaledFrame(picture, inputs, saveIfAsked);
    } else {
        drawFrame(picture, inputs);
        saveIfAsked(picture, inputs);
    }
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
    if (pictureWindow.frame != nullptr) {
        SDL_DestroyTexture(pictureWindow.frame);
    }
    pictureWindow = PictureWindow{};
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
