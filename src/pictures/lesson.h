// What a teacher does to a moving picture, the same in the window and in the page: hold it, step
// a held clock, run the clock slower or faster, and move a mouse picture's pointer with the keys.
// The picture's clock runs exactly with the front end's millisecond clock until it is touched,
// then goes on from where it stood, never jumping.
#pragma once

#include "common/frame_inputs.h"
#include "pictures/pictures.h"

#include <cstdint>

struct PictureClock {
    double start = 0.0;       // the picture's clock, in ms, at the front end's time `since`
    std::uint32_t since = 0;  // the front end's clock (SDL_GetTicks) then
    double speed = 1.0;       // picture milliseconds per front-end millisecond
    bool paused = false;
};

// The picture's clock at the front end's time now, in whole milliseconds, 0 to 4294967295. A fresh
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

// The speeds a teacher steps through, slowest first; 1 is the real pace.
constexpr double kLessonSpeeds[] = {0.25, 0.5, 1.0, 2.0};
constexpr int kLessonSpeedCount = 4;

constexpr std::int64_t kStepMs = 40;       // a held clock's step: one frame of an animation
constexpr std::int64_t kBigStepMs = 1000;  // with Shift
constexpr int kBigPointerStep = 10;        // frame pixels with Shift; one without

// One picture's lesson: what steers it, its clock, and where its pointer stands. Holding a
// picture stops its clock; a held mouse picture's pointer no longer follows the mouse (the keys
// still move it).
struct Lesson {
    Steering steering = kSteeredByNothing;
    PictureClock clock;       // starts with the front end's clock, at its pace
    SDL_Point pointer{0, 0};  // a mouse picture's pointer, once set
    bool pointerSet = false;  // whether the mouse or a key has set it yet
};

// A lesson for a picture steered so; its clock reads the front end's clock as it is.
Lesson startLesson(Steering steering);

// Whether the picture is held.
inline bool isHeld(const Lesson& lesson) { return lesson.clock.paused; }

// Holds the picture or lets it run on; a still picture has nothing to hold (false).
bool holdLesson(Lesson& lesson, bool held, std::uint32_t now);

// The mouse stands at p: the pointer follows it unless the picture is held (false then).
bool pointerMoved(Lesson& lesson, SDL_Point p);

// Puts the pointer at p, held or not: a value typed on purpose.
void placePointer(Lesson& lesson, SDL_Point p);

// Holds the picture with its clock at ticks: a value typed on purpose.
void holdClockAt(Lesson& lesson, std::uint32_t ticks, std::uint32_t now);

// The pointer, moved by (dx, dy) from where it stands, or from the frame's centre when nothing has
// set it yet. A step never takes a coordinate past the frame's edge, nor further out than it
// already stood (a value typed into the page may have put it outside the frame).
void movePointerBy(Lesson& lesson, int dx, int dy);

// The keys of a lesson, whatever key a front end binds to them.
enum LessonKey {
    kKeyHold = 0,    // hold or run on (Space)
    kKeyLeft = 1,    // a held clock back, or the pointer left
    kKeyRight = 2,   // a held clock on, or the pointer right
    kKeyUp = 3,      // the pointer up
    kKeyDown = 4,    // the pointer down
    kKeySlower = 5,  // the clock at the next slower speed
    kKeyFaster = 6,  // the clock at the next faster speed
};
constexpr int kLessonKeyCount = 7;

// What the key does to the lesson at the front end's time now (Shift makes steps big); false when
// it does nothing for this picture, so the front end may give the key to something else.
bool pressLessonKey(Lesson& lesson, LessonKey key, bool shift, std::uint32_t now);

// The inputs of the picture's frame at the front end's time now; until the pointer is set, the
// frame's pointer is `mouse`.
FrameInputs lessonFrame(const Lesson& lesson, std::uint32_t now, SDL_Point mouse = SDL_Point{0, 0});
