// The picture's clock: a straight line through (since, start) with slope speed, or a constant.
#include "web/picture_clock.h"

#include "menu/frame_inputs.h"

#include <cmath>

namespace {

// The clock's exact value now, kept within the range of a frame's clock.
double clockValue(const PictureClock& clock, std::uint32_t now)
{
    // Unsigned subtraction: right across the page clock's wrap after 49 days.
    const double value = clock.paused ? clock.start
                                      : clock.start + static_cast<double>(now - clock.since) * clock.speed;
    return std::fmin(std::fmax(value, 0.0), static_cast<double>(kMaxTicks));
}

}  // namespace

std::uint32_t clockTicks(const PictureClock& clock, std::uint32_t now)
{
    return static_cast<std::uint32_t>(std::floor(clockValue(clock, now)));
}

void pauseClock(PictureClock& clock, bool paused, std::uint32_t now)
{
    if (paused == clock.paused) {
        return;
    }
    if (paused) {
        clock.start = std::floor(clockValue(clock, now));  // the frame on screen stays
    }
    clock.since = now;
    clock.paused = paused;
}

void stepClock(PictureClock& clock, std::int64_t ms)
{
    if (clock.paused) {
        clock.start = std::fmin(std::fmax(clock.start + static_cast<double>(ms), 0.0),
                                static_cast<double>(kMaxTicks));
    }
}

bool setClockSpeed(PictureClock& clock, double speed, std::uint32_t now)
{
    if (!(speed > 0.0 && speed <= kMaxClockSpeed)) {  // also refuses NaN
        return false;
    }
    if (!clock.paused) {
        clock.start = clockValue(clock, now);
        clock.since = now;
    }
    clock.speed = speed;
    return true;
}
