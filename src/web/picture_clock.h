// The clock a moving picture runs on in the page: the page's millisecond clock as it is, until
// the picture is paused, stepped or slowed down; then it goes on from where it stood.
#pragma once

#include <cstdint>

struct PictureClock {
    double start = 0.0;       // the picture's clock, in ms, at the page's time `since`
    std::uint32_t since = 0;  // the page's clock (SDL_GetTicks) then
    double speed = 1.0;       // picture milliseconds per page millisecond
    bool paused = false;
};

// The picture's clock at the page's time now, in whole milliseconds, 0 to 4294967295. A fresh
// clock reads exactly `now`.
std::uint32_t clockTicks(const PictureClock& clock, std::uint32_t now);

// Stops the clock on the whole millisecond it shows, or lets it run on from there.
void pauseClock(PictureClock& clock, bool paused, std::uint32_t now);

// Moves a paused clock by ms (negative: back), never below 0; a running clock is left alone.
void stepClock(PictureClock& clock, std::int64_t ms);

// Runs the clock at a new speed from the value it shows now. Speeds outside (0, kMaxClockSpeed]
// are refused (false, clock unchanged).
constexpr double kMaxClockSpeed = 16.0;
bool setClockSpeed(PictureClock& clock, double speed, std::uint32_t now);
