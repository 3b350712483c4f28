// The web page's program: the menu table for the page, and one picture at a time in the canvas,
// live (frames paced by the browser, drawn only when they can change) or one frozen frame from a
// link.
#include "common/app_state.h"
#include "common/mouse.h"
#include "common/window.h"
#include "menu/descriptions.h"
#include "menu/menu.h"
#include "scenes/scenes.h"
#include "web/page_frame.h"
#include "web/page_link.h"
#include "web/picture_clock.h"

#include <SDL.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <string>

namespace {

enum PageState { kMenu = 0, kLive = 1, kFrozen = 2, kRefused = -1 };

PageState state = kMenu;
bool mediaReady = false;
std::string message;  // why the last link was refused

PictureClock pictureClock;  // what frameTicks gets in a live picture
int framesDrawn = 0;        // every frame drawn into the canvas since the page loaded

// The inputs of the frame on the canvas; a live picture draws again only when its input changed.
bool frameOnCanvas = false;
std::uint32_t drawnTicks = 0;
SDL_Point drawnMouse{0, 0};

// A live picture whose frame cannot change until the page steers it (a still picture, a mouse
// picture at rest, a held clock) takes no turns at all: the browser stays idle.
bool resting = false;

Steering shownSteering()
{
    return menuItemFor(app.choice).steering;
}

// Opens the window for the answer; the software renderer draws the same pixels as the desktop's.
void openPicture(const std::string& answer)
{
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    SDL_SetHint(SDL_HINT_EMSCRIPTEN_KEYBOARD_ELEMENT, "#canvas");
    SDL_SetMainReady();
    app.choice = answer;
    mediaReady = openWindow();
    findFrame();
    // The pictures take no keys: the page steers with them, and Tab must leave the canvas.
    emscripten_set_keydown_callback("#canvas", nullptr, 0, nullptr);
    emscripten_set_keyup_callback("#canvas", nullptr, 0, nullptr);
    emscripten_set_keypress_callback("#canvas", nullptr, 0, nullptr);
}

// The page's hook for every frame drawn, given the frame's link.
EM_JS(void, tellFrameDrawn, (const char* link), {
    if (Module.frameDrawn) {
        Module.frameDrawn(UTF8ToString(link));
    }
});

// One whole frame at app.frameTicks and the mouse as it stands; the page is told its link.
void drawPageFrame()
{
    drawnMouse = readMouse();
    drawnTicks = app.frameTicks;
    drawSceneFrame();
    showFrame();
    frameOnCanvas = true;
    ++framesDrawn;
    const std::string link = frozenLink(PageLink{app.choice, true, drawnTicks, drawnMouse});
    tellFrameDrawn(link.c_str());
}

// The page's turn, each time the browser is about to paint: the frame is drawn again only when
// what steers the picture has moved; otherwise the canvas keeps the last one, the same pixels.
void pageTurn()
{
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        // the pointer reaches the pictures through readMouse; nothing else is looked at
    }
    app.frameTicks = clockTicks(pictureClock, SDL_GetTicks());
    const SDL_Point mouse = readMouse();
    const Steering steering = shownSteering();
    const bool changed = !frameOnCanvas || (steering == kSteeredByClock && app.frameTicks != drawnTicks) ||
                         (steering == kSteeredByMouse && (mouse.x != drawnMouse.x || mouse.y != drawnMouse.y));
    if (changed) {
        drawPageFrame();
    } else if (app.running && (steering != kSteeredByClock || pictureClock.paused)) {
        resting = true;
        emscripten_pause_main_loop();
    }
}

// The page moved the pointer or the clock: the live picture takes turns again.
void wake()
{
    if (resting && state == kLive) {
        resting = false;
        emscripten_resume_main_loop();
    }
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE int plotnik_menu_count()
{
    return kMenuItemCount;
}

EMSCRIPTEN_KEEPALIVE const char* plotnik_menu_line(int i)
{
    return i >= 0 && i < kMenuItemCount ? kMenuItems[i].line : "";
}

EMSCRIPTEN_KEEPALIVE const char* plotnik_menu_answer(int i)
{
    return i >= 0 && i < kMenuItemCount ? kMenuItems[i].answer : "";
}

// What the picture shown in the canvas is called and what it shows, in Polish.
EMSCRIPTEN_KEEPALIVE const char* plotnik_picture_line()
{
    return state == kLive || state == kFrozen ? menuItemFor(app.choice).line : "";
}

EMSCRIPTEN_KEEPALIVE const char* plotnik_picture_description()
{
    if (state != kLive && state != kFrozen) {
        return "";
    }
    return kPictureDescriptions[&menuItemFor(app.choice) - kMenuItems];
}

// What makes the live picture's frame change (a Steering); 0 when no picture is live.
EMSCRIPTEN_KEEPALIVE int plotnik_live_steering()
{
    return state == kLive ? shownSteering() : kSteeredByNothing;
}

// Shows what the link asks for, after closing whatever picture is open: 0 the menu, 1 a live
// picture, 2 a frozen frame (drawn before this returns), -1 a bad link or a picture that could
// not be opened (plotnik_message says why).
EMSCRIPTEN_KEEPALIVE int plotnik_open_link(const char* fragment);

// Closes the picture as closing the window does: its last frame is drawn (when it would differ
// from the one on the canvas), everything it opened is released.
EMSCRIPTEN_KEEPALIVE void plotnik_close()
{
    if (state == kLive) {
        emscripten_cancel_main_loop();
        app.running = false;
        pageTurn();  // the last frame, if it differs from the one on the canvas
    }
    if (mediaReady) {
        closeWindow();
        mediaReady = false;
    }
    followRealMouse();
    state = kMenu;
}

EMSCRIPTEN_KEEPALIVE int plotnik_open_link(const char* fragment)
{
    plotnik_close();
    PageLink link;
    message = readPageLink(fragment != nullptr ? fragment : "", link);
    if (!message.empty()) {
        state = kRefused;
        return state;
    }
    if (link.answer.empty()) {
        return state;
    }
    openPicture(link.answer);
    if (!mediaReady) {
        message = std::string("Nie udało się otworzyć obrazu: ") + SDL_GetError();
        state = kRefused;
        return state;
    }
    frameOnCanvas = false;
    if (link.frozen) {
        steerMouse(link.mouse);
        app.frameTicks = link.ticks;
        drawPageFrame();
        state = kFrozen;
    } else {
        // The clock starts with the media library's, at 0, running at the page's pace.
        pictureClock = PictureClock{};
        resting = false;
        emscripten_set_main_loop(pageTurn, 0, 0);
        state = kLive;
    }
    return state;
}

// Where the pointer is over a live picture, in frame pixels; the page maps it from wherever and
// however large the canvas is drawn.
EMSCRIPTEN_KEEPALIVE void plotnik_point_at(int x, int y)
{
    if (state == kLive) {
        steerMouse(SDL_Point{x, y});
        wake();
    }
}

// The live picture's clock: paused or running (1 paused), stepped while paused, and its speed
// against the page's clock (refused outside (0, 16]: the answer is 0).
EMSCRIPTEN_KEEPALIVE int plotnik_pause(int paused)
{
    pauseClock(pictureClock, paused != 0, SDL_GetTicks());
    wake();
    return pictureClock.paused ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void plotnik_step(int ms)
{
    stepClock(pictureClock, ms);
    wake();
}

EMSCRIPTEN_KEEPALIVE int plotnik_set_speed(double speed)
{
    return setClockSpeed(pictureClock, speed, SDL_GetTicks()) ? 1 : 0;
}

// For the page's tests: how many frames have been drawn into the canvas since the page loaded.
EMSCRIPTEN_KEEPALIVE int plotnik_frames_drawn()
{
    return framesDrawn;
}

EMSCRIPTEN_KEEPALIVE const char* plotnik_message()
{
    return message.c_str();
}

// For the page's tests: whether the spiral's primes are known (they are kept for the page's life).
EMSCRIPTEN_KEEPALIVE int plotnik_prime_cache_ready()
{
    return primeCacheReady ? 1 : 0;
}

// For the benchmark, on a frozen frame: draws it again (clear and scene), with the spiral's primes
// found again when forgetting is asked for; or only copies the finished frame to the canvas.
EMSCRIPTEN_KEEPALIVE void plotnik_redraw(int forgetPrimes)
{
    if (state == kFrozen) {
        if (forgetPrimes != 0) {
            forgetPrimeCache();
        }
        drawSceneFrame();
    }
}

EMSCRIPTEN_KEEPALIVE void plotnik_present()
{
    if (state == kFrozen) {
        showFrame();
    }
}

}  // extern "C"
