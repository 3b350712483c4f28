// The window of one picture: media library, window, renderer and fonts, opened together and
// released together.
#pragma once

#include <SDL.h>

#include <string>

// Every subsystem of the media library: timer, audio, video, joystick, haptic, game controller,
// events and sensor.
constexpr Uint32 kAllSubsystems = SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK |
                                  SDL_INIT_HAPTIC | SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS |
                                  SDL_INIT_SENSOR;
static_assert(kAllSubsystems == 0xF231, "the console program starts every subsystem");

// Where a window is opened.
enum WindowPlace {
    // On the screen, for the console program and the page: every subsystem, the first renderer
    // that fits, and the console's status lines "Subsystems initialised!", "Window created!" and
    // "Renderer created!" as each comes up. A missing renderer leaves its line out and the rest
    // goes on; the window itself is needed.
    kOnScreen,
    // Nowhere, for the exporter, the tests and the benchmarks: a window of the media library's
    // dummy video driver drawn by its software renderer, whose frames read back exactly (a
    // graphics card's renderer may hand back a black picture). Quiet; a missing window or
    // renderer is a failure.
    kHeadless,
};

// Opens the media library, the 1280 x 720 "Plotnik" window, its renderer and the fonts into app,
// and sets app.running to whether the frames may run. False, with why and nothing left open, when
// the library does not start or there is no window (or, headless, no renderer); on the screen
// the console then says so in one line.
bool openWindow(WindowPlace place, std::string& why);

// Releases what openWindow opened (fonts, renderer, window, the libraries).
void closeWindow();
