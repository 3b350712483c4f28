// The web page's program: the menu table for the page, and one picture at a time in the canvas,
// live (frames paced by the browser) or one frozen frame from a link.
#include "common/app_state.h"
#include "common/mouse.h"
#include "common/window.h"
#include "menu/menu.h"
#include "scenes/scenes.h"
#include "web/page_frame.h"
#include "web/page_link.h"

#include <SDL.h>
#include <emscripten.h>

#include <string>

namespace {

enum PageState { kMenu = 0, kLive = 1, kFrozen = 2, kRefused = -1 };

PageState state = kMenu;
bool mediaReady = false;
std::string message;  // why the last link was refused

// Opens the window for the answer; the software renderer draws the same pixels as the desktop's.
void openPicture(const std::string& answer)
{
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    // Keys reach the picture only when the canvas has the focus; the page keeps its own keys.
    SDL_SetHint(SDL_HINT_EMSCRIPTEN_KEYBOARD_ELEMENT, "#canvas");
    SDL_SetMainReady();
    app.choice = answer;
    mediaReady = openWindow();
    findFrame();
}

// One whole frame, drawn and put on the canvas.
void drawPageFrame()
{
    drawSceneFrame();
    showFrame();
}

// One turn of the live picture, each time the browser is about to paint: the frame loop's turn
// (the clock sampled, at most one event taken) with the page's frame.
void pageTurn()
{
    app.frameTicks = SDL_GetTicks();
    SDL_Event event;
    if (SDL_PollEvent(&event) != 0 && event.type == SDL_QUIT) {
        app.running = false;
    }
    drawPageFrame();
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

// Shows what the link asks for, after closing whatever picture is open: 0 the menu, 1 a live
// picture, 2 a frozen frame (drawn before this returns), -1 a bad link or a picture that could
// not be opened (plotnik_message says why).
EMSCRIPTEN_KEEPALIVE int plotnik_open_link(const char* fragment);

// Closes the picture as closing the window does: its last frame is drawn, everything it opened
// is released.
EMSCRIPTEN_KEEPALIVE void plotnik_close()
{
    if (state == kLive) {
        emscripten_cancel_main_loop();
        app.running = false;
        app.frameTicks = SDL_GetTicks();
        drawPageFrame();
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
        message = std::string("Nie udalo sie otworzyc obrazu: ") + SDL_GetError();
        state = kRefused;
        return state;
    }
    if (link.frozen) {
        steerMouse(link.mouse);
        app.frameTicks = link.ticks;
        drawPageFrame();
        state = kFrozen;
    } else {
        // One frame each time the browser is about to paint.
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
    }
}

// The link that shows the frame a live picture shows now, frozen; "" when no picture is live.
EMSCRIPTEN_KEEPALIVE const char* plotnik_frame_link()
{
    static std::string link;
    link = state == kLive ? frozenLink(PageLink{app.choice, true, app.frameTicks, readMouse()}) : "";
    return link.c_str();
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
