// The picture's clock, a straight line through (since, start) with slope speed or a constant, and
// the keys that hold, step and speed it or move the pointer.
#include "pictures/lesson.h"

#include "common/app_state.h"

#include <algorithm>
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

namespace {

// One coordinate moved by d, kept within [0, size - 1] or, when it stood outside, no further out.
int stepCoordinate(int from, int d, int size)
{
    const int low = std::min(0, from);
    const int high = std::max(size - 1, from);
    const long long to = static_cast<long long>(from) + d;
    return static_cast<int>(std::min<long long>(std::max<long long>(to, low), high));
}

// The next speed of kLessonSpeeds from the one the clock runs at, one step slower (-1) or faster.
double nextSpeed(double speed, int direction)
{
    int nearest = 0;
    for (int i = 1; i < kLessonSpeedCount; ++i) {
        if (std::fabs(kLessonSpeeds[i] - speed) < std::fabs(kLessonSpeeds[nearest] - speed)) {
            nearest = i;
        }
    }
    const int next = std::min(std::max(nearest + direction, 0), kLessonSpeedCount - 1);
    return kLessonSpeeds[next];
}

}  // namespace

Lesson startLesson(Steering steering)
{
    Lesson lesson;
    lesson.steering = steering;
    return lesson;
}

bool holdLesson(Lesson& lesson, bool held, std::uint32_t now)
{
    if (lesson.steering == kSteeredByNothing) {
        return false;
    }
    pauseClock(lesson.clock, held, now);
    return true;
}

bool pointerMoved(Lesson& lesson, SDL_Point p)
{
    if (isHeld(lesson)) {
        return false;
    }
    placePointer(lesson, p);
    return true;
}

void placePointer(Lesson& lesson, SDL_Point p)
{
    lesson.pointer = p;
    lesson.pointerSet = true;
}

void holdClockAt(Lesson& lesson, std::uint32_t ticks, std::uint32_t now)
{
    pauseClock(lesson.clock, true, now);
    lesson.clock.start = static_cast<double>(ticks);
}

void movePointerBy(Lesson& lesson, int dx, int dy)
{
    const SDL_Point from = lesson.pointerSet ? lesson.pointer : kFrameCentre;
    placePointer(lesson, {stepCoordinate(from.x, dx, kWindowWidth), stepCoordinate(from.y, dy, kWindowHeight)});
}

bool pressLessonKey(Lesson& lesson, LessonKey key, bool shift, std::uint32_t now)
{
    if (key == kKeyHold) {
        return holdLesson(lesson, !isHeld(lesson), now);
    }
    const int across = key == kKeyLeft ? -1 : key == kKeyRight ? 1 : 0;
    const int down = key == kKeyUp ? -1 : key == kKeyDown ? 1 : 0;
    if (lesson.steering == kSteeredByClock) {
        if (key == kKeySlower || key == kKeyFaster) {
            return setClockSpeed(lesson.clock, nextSpeed(lesson.clock.speed, key == kKeySlower ? -1 : 1), now);
        }
        if (across != 0 && isHeld(lesson)) {
            stepClock(lesson.clock, across * (shift ? kBigStepMs : kStepMs));
            return true;
        }
        return false;
    }
    if (lesson.steering == kSteeredByMouse && (across != 0 || down != 0)) {
        const int step = shift ? kBigPointerStep : 1;
        movePointerBy(lesson, across * step, down * step);
        return true;
    }
    return false;
}

FrameInputs lessonFrame(const Lesson& lesson, std::uint32_t now, SDL_Point mouse)
{
    return FrameInputs{clockTicks(lesson.clock, now), lesson.pointerSet ? lesson.pointer : mouse};
}
