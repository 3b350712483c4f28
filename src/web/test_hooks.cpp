// Hooks the page itself never calls: the browser tests and benchmarks look through them.
#include "scenes/scenes.h"
#include "web/web_program.h"

#include <emscripten.h>
#include <emscripten/heap.h>

extern "C" {

// How many frames have been drawn into the canvas since the page loaded.
EMSCRIPTEN_KEEPALIVE int plotnik_test_frames_drawn()
{
    return pageState.framesDrawn;
}

// Whether the live picture has stopped taking turns, its last frame on the canvas, until the page
// steers it (a held clock, a mouse picture at rest, a still picture).
EMSCRIPTEN_KEEPALIVE int plotnik_test_resting()
{
    return pageState.resting ? 1 : 0;
}

// The page's clock (ms) at the live picture's last turn: the frame drawn then is the lesson's
// frame for it.
EMSCRIPTEN_KEEPALIVE unsigned plotnik_test_turn_clock()
{
    return pageState.turnClock;
}

// The size of the program's memory in bytes: it grows when the program needs more, and never
// shrinks.
EMSCRIPTEN_KEEPALIVE unsigned plotnik_test_heap_size()
{
    return static_cast<unsigned>(emscripten_get_heap_size());
}

// Whether the spiral's primes are known (they are kept for the page's life).
EMSCRIPTEN_KEEPALIVE int plotnik_test_prime_cache_ready()
{
    return primeCacheReady ? 1 : 0;
}

// On a frozen frame: draws it again (clear and scene), with the spiral's primes found again when
// forgetting is asked for; the benchmark times this apart from the copy to the canvas.
EMSCRIPTEN_KEEPALIVE void plotnik_test_redraw(int forgetPrimes)
{
    if (pageState.shows == kShowsFrozen) {
        if (forgetPrimes != 0) {
            forgetPrimeCache();
        }
        redrawPageFrame();
    }
}

// On a frozen frame: only copies the finished frame to the canvas.
EMSCRIPTEN_KEEPALIVE void plotnik_test_present()
{
    if (pageState.shows == kShowsFrozen) {
        showPageFrame();
    }
}

}  // extern "C"
