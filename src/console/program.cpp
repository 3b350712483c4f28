// The menu, the cycle of window and frames, and the frame loop with the window's keys.
#include "console/program.h"

#include "common/app_state.h"
#include "common/frame_on_screen.h"
#include "common/mouse.h"
#include "common/text.h"
#include "common/window.h"
#include "console/console_platform.h"
#include "console/saved_frame.h"
#include "menu/menu.h"

#include <SDL.h>

#include <iostream>
#include <string>

PictureWindow pictureWindow;

namespace {

// Whether the media library came up in this cycle; when it did not, the console keeps its error.
bool mediaReady = false;

constexpr Uint16 kNotShift = KMOD_CTRL | KMOD_ALT | KMOD_GUI;

bool samePoint(SDL_Point a, SDL_Point b)
{
    return a.x == b.x && a.y == b.y;
}

// Where the mouse is in the window, in the window's pixels. Switching full screen on or off moves
// the window under a mouse that stands still, and no event tells: the window's own position of the
// mouse keeps the value it had before until the mouse moves, so meanwhile it is worked out from
// where the mouse stood on the screen.
SDL_Point mouseInWindow()
{
    const SDL_Point p = readMouse();
    if (!pictureWindow.mouseStale) {
        return p;
    }
    if (!samePoint(p, pictureWindow.mouseAtSwitch)) {
        pictureWindow.mouseStale = false;  // it has moved: the window's own value is right again
        return p;
    }
    int left = 0;
    int top = 0;
    SDL_GetWindowPosition(app.window, &left, &top);
    return SDL_Point{pictureWindow.mouseOnScreen.x - left, pictureWindow.mouseOnScreen.y - top};
}

// The mouse in frame pixels: in the window they are the window's own; in full screen the screen
// point is mapped back into the scaled frame.
SDL_Point mouseInFrame()
{
    const SDL_Point p = mouseInWindow();
    if (!pictureWindow.fullScreen) {
        return p;
    }
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(app.window, &width, &height);
    return framePixelAt(p, frameOnScreen(width, height));
}

// Notes where a mouse over the window stands on the screen, just before the window is switched
// to or from full screen.
void noteMouseBeforeSwitch()
{
    if (pictureWindow.mouseStale || SDL_GetMouseFocus() != app.window) {
        return;  // noted already at an earlier switch, or not over the window: nothing to keep
    }
    const SDL_Point p = readMouse();
    int left = 0;
    int top = 0;
    SDL_GetWindowPosition(app.window, &left, &top);
    pictureWindow.mouseAtSwitch = p;
    pictureWindow.mouseOnScreen = SDL_Point{p.x + left, p.y + top};
    pictureWindow.mouseStale = true;
}

// The pointer follows the mouse when the mouse moves, and from its first frame over the window
// on; a held picture keeps its pointer. A mouse that never came over the window leaves the pointer
// unset, so the keys start from the frame's centre.
void followMouse()
{
    const SDL_Point mouse = mouseInFrame();
    const bool moved = !samePoint(mouse, pictureWindow.mouse);
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

// Full screen: the frame is drawn exactly as in the window into a frame of its own size, then
// that finished frame is scaled onto the screen between black bars.
void drawScaledFrame(const Picture& picture, const FrameInputs& inputs)
{
    SDL_SetRenderTarget(app.renderer, pictureWindow.frame);
    drawFrame(picture, inputs);
    saveIfAsked(picture, inputs);
    SDL_SetRenderTarget(app.renderer, nullptr);
    int width = 0;
    int height = 0;
    SDL_GetRendererOutputSize(app.renderer, &width, &height);
    const SDL_Rect onScreen = frameOnScreen(width, height);
    SDL_SetRenderDrawColor(app.renderer, 0, 0, 0, 0);
    SDL_RenderClear(app.renderer);
    SDL_RenderCopy(app.renderer, pictureWindow.frame, nullptr, &onScreen);
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
    mediaReady = openWindow();
    return true;
}

bool lessonKeyFor(const SDL_Keysym& key, LessonKey& lessonKey)
{
    if ((key.mod & kNotShift) != 0) {
        return false;
    }
    switch (key.sym) {
    case SDLK_SPACE: lessonKey = kKeyHold; return true;
    case SDLK_LEFT: lessonKey = kKeyLeft; return true;
    case SDLK_RIGHT: lessonKey = kKeyRight; return true;
    case SDLK_UP: lessonKey = kKeyUp; return true;
    case SDLK_DOWN: lessonKey = kKeyDown; return true;
    case SDLK_MINUS:
    case SDLK_KP_MINUS: lessonKey = kKeySlower; return true;
    case SDLK_PLUS:
    case SDLK_EQUALS:
    case SDLK_KP_PLUS: lessonKey = kKeyFaster; return true;
    default: return false;
    }
}

WindowKey windowKeyFor(const SDL_Keysym& key)
{
    const bool ctrl = (key.mod & KMOD_CTRL) != 0;
    const bool alt = (key.mod & KMOD_ALT) != 0;
    if (key.sym == SDLK_F11 && !ctrl && !alt) {
        return kKeyFullScreen;
    }
    if ((key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER) && alt && !ctrl) {
        return kKeyFullScreen;
    }
    if (key.sym == SDLK_ESCAPE && !ctrl && !alt) {
        return kKeyLeaveFullScreen;
    }
    if (key.sym == SDLK_s && ctrl && !alt) {
        return kKeySaveFrame;
    }
    return kNoWindowKey;
}

void setFullScreen(bool on)
{
    if (on == pictureWindow.fullScreen || app.window == nullptr || app.renderer == nullptr) {
        return;
    }
    if (!on) {
        noteMouseBeforeSwitch();
        SDL_SetWindowFullscreen(app.window, 0);
        // Without a window manager nobody gives the window its size back.
        SDL_SetWindowSize(app.window, kWindowWidth, kWindowHeight);
        SDL_DestroyTexture(pictureWindow.frame);
        pictureWindow.frame = nullptr;
        pictureWindow.fullScreen = false;
        return;
    }
    SDL_Texture* frame = SDL_CreateTexture(app.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET,
                                           kWindowWidth, kWindowHeight);
    if (frame != nullptr) {
        // Copied as it is, and smoothed when scaled: a one-pixel line that nearest-pixel scaling
        // would draw one or two pixels wide by turns (x1.5), or drop (x0.8 on 1024 x 768),
        // keeps an even weight.
        SDL_SetTextureBlendMode(frame, SDL_BLENDMODE_NONE);
        SDL_SetTextureScaleMode(frame, SDL_ScaleModeLinear);
    }
    noteMouseBeforeSwitch();  // a window that stays where it was keeps the mouse where it was too
    if (frame == nullptr || SDL_SetWindowFullscreen(app.window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        const std::string line = std::string("Nie udało się przejść na pełny ekran: ") + SDL_GetError();
        printLine(line.c_str());
        if (frame != nullptr) {
            SDL_DestroyTexture(frame);
        }
        return;
    }
    pictureWindow.frame = frame;
    pictureWindow.fullScreen = true;
}

void pressKey(const SDL_KeyboardEvent& key)
{
    const bool repeated = key.repeat != 0;
    switch (windowKeyFor(key.keysym)) {
    case kKeyFullScreen:
        if (!repeated) {
            setFullScreen(!pictureWindow.fullScreen);
        }
        return;
    case kKeyLeaveFullScreen:
        setFullScreen(false);
        return;
    case kKeySaveFrame:
        pictureWindow.saveFrame = pictureWindow.saveFrame || !repeated;
        return;
    case kNoWindowKey:
        break;
    }
    LessonKey lessonKey = kKeyHold;
    if (lessonKeyFor(key.keysym, lessonKey) && !(lessonKey == kKeyHold && repeated)) {
        pressLessonKey(pictureWindow.lesson, lessonKey, (key.keysym.mod & KMOD_SHIFT) != 0, app.frameTicks);
    }
}

void takeEvent(const SDL_Event& event)
{
    if (event.type == SDL_QUIT) {
        app.running = false;
    } else if (event.type == SDL_KEYDOWN) {
        pressKey(event.key);
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
        drawScaledFrame(picture, inputs);
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
