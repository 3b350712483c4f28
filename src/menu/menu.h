// The ten menu items, the one table every front end reads: the line the menu shows, the answer
// that selects it, the scene that draws it and what makes its frame change; and the drawing of
// one frame for an answer.
#pragma once

#include <cstdint>
#include <string>

constexpr double kTwoPi = 6.283185307179586;
constexpr double kSixPi = 18.84955592153876;

// What makes a picture's frame change: nothing (a still picture), the clock or the mouse.
enum Steering { kSteeredByNothing = 0, kSteeredByClock = 1, kSteeredByMouse = 2 };

struct MenuItem {
    const char* answer;        // what the user types, matched exactly
    const char* line;          // the menu line, "1 - Funkcje trygonometryczne"
    void (*draw)();            // scenes that take nothing
    void (*drawAt)(float);     // scenes that take phase
    double wrap;               // where phase falls back to 0
    Steering steering;         // the only input the frame depends on
};

constexpr int kMenuItemCount = 10;
extern const MenuItem kMenuItems[kMenuItemCount];

// The clock-driven angle: ticks / 360 in single precision, wrapped at `wrap` in double, narrowed.
float phaseFromTicks(std::uint32_t ticks, double wrap);

// The item an answer selects; answers that match no menu item (exact match only) select the
// trigonometric functions.
const MenuItem& menuItemFor(const std::string& answer);

// Draws the current frame of the scene that app.choice selects, with app.frameTicks as the clock.
void dispatchScene();

// One whole frame as every front end draws it: cleared to black, the chosen scene, presented.
void drawFrame();

// One turn of the frame loop: samples the clock into app.frameTicks, takes at most one event (a
// quit event clears app.running; the others are dropped) and draws the frame, the last one too.
void runOneFrame();
