// From the menu answer to the scene that draws the frame.
#pragma once

#include <cstdint>
#include <string>

constexpr double kTwoPi = 6.283185307179586;
constexpr double kSixPi = 18.84955592153876;

// The clock-driven angle: ticks / 360 in single precision, wrapped at `wrap` in double, narrowed.
float phaseFromTicks(std::uint32_t ticks, double wrap);

// Draws the current frame of the scene that app.choice selects; answers that match no menu item
// (exact match only) draw the trigonometric functions.
void dispatchScene();

// The menu number ("1".."10") whose scene the answer draws.
const char* sceneNumberFor(const std::string& answer);
