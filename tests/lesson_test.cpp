// The lesson controls: the picture clock runs exactly with the front end's clock until touched,
// then is held, stepped and sped up or slowed down without ever jumping; the keys do to each kind
// of picture what a teacher expects.
#include "pictures/lesson.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

enum Action { kRead, kPause, kResume, kStep, kSpeed };

struct Step {
    Action action;
    std::uint32_t now;     // the page's clock when the step is taken and the clock read
    double value;          // ms for kStep, the speed for kSpeed
    std::int64_t expected; // the picture's clock then; for kSpeed, -1 when the speed is refused
};

constexpr std::int64_t kMax = 4294967295;

}  // namespace

TEST(Lesson, ClockRunsPausesStepsAndChangesSpeedWithoutJumps)
{
    const std::vector<std::vector<Step>> scenarios = {
        // untouched it is the page's clock
        {{kRead, 0, 0, 0}, {kRead, 12345, 0, 12345}, {kRead, 4294967295u, 0, kMax}},
        // held, stepped by 40 ms and a second but never below 0, run on from there; steps are
        // ignored while it runs
        {{kPause, 1000, 0, 1000}, {kRead, 5000, 0, 1000}, {kStep, 5000, 40, 1040}, {kStep, 5000, 40, 1080},
         {kStep, 5000, -1000, 80}, {kStep, 5000, -1000, 0}, {kResume, 6000, 0, 0}, {kRead, 6100, 0, 100},
         {kResume, 6100, 0, 100}, {kStep, 6100, 1000, 100}, {kRead, 6200, 0, 200}},
        // speeds continue from the value shown; a held clock keeps a new speed for later
        {{kSpeed, 1000, 0.5, 1000}, {kRead, 3000, 0, 2000}, {kSpeed, 3000, 2, 2000}, {kRead, 3500, 0, 3000},
         {kSpeed, 3500, 0.25, 3000}, {kRead, 3503, 0, 3000}, {kPause, 3503, 0, 3000}, {kSpeed, 4000, 2, 3000},
         {kResume, 5000, 0, 3000}, {kRead, 5010, 0, 3020}},
        // refused speeds change nothing
        {{kSpeed, 100, 0, -1}, {kSpeed, 100, -1, -1}, {kSpeed, 100, std::nan(""), -1}, {kSpeed, 100, 17, -1},
         {kRead, 200, 0, 200}},
        // it stops at its largest value, and reads right across the page clock's wrap
        {{kSpeed, 4294967000u, 2, 4294967000}, {kRead, 4294967295u, 0, kMax}, {kPause, 4294967295u, 0, kMax},
         {kStep, 0, 1000, kMax}, {kStep, 0, -295, 4294967000}, {kResume, 4294967295u, 0, 4294967000},
         {kRead, 10, 0, 4294967022}},
    };
    for (std::size_t n = 0; n < scenarios.size(); ++n) {
        PictureClock clock;
        for (std::size_t i = 0; i < scenarios[n].size(); ++i) {
            const Step& step = scenarios[n][i];
            if (step.action == kPause || step.action == kResume) {
                pauseClock(clock, step.action == kPause, step.now);
            } else if (step.action == kStep) {
                stepClock(clock, static_cast<std::int64_t>(step.value));
            } else if (step.action == kSpeed && !setClockSpeed(clock, step.value, step.now)) {
                EXPECT_EQ(step.expected, -1) << "scenario " << n << ", step " << i;
                EXPECT_EQ(clock.speed, 1.0) << "scenario " << n << ", step " << i;
                continue;
            }
            EXPECT_EQ(static_cast<std::int64_t>(clockTicks(clock, step.now)), step.expected)
                << "scenario " << n << ", step " << i;
        }
    }
}

// Each key on each kind of picture: whether it is taken, and the clock and pointer after it.
TEST(Lesson, KeysDoWhatEachKindOfPictureNeeds)
{
    constexpr std::uint32_t kNow = 5000;
    const struct {
        const char* what;
        Steering steering;
        bool held;            // held before the key
        bool pointerSet;      // the pointer at (100, 100) before the key; else never set
        LessonKey key;
        bool shift;
        bool taken;
        std::int64_t ticks;   // the clock just after the key
        bool heldAfter;
        int x, y;             // the frame's pointer after the key (-1: still unset)
        double speed;
    } cases[] = {
        {"still: nothing to hold", kSteeredByNothing, false, false, kKeyHold, false, false, kNow, false, -1, -1, 1},
        {"still: no arrows", kSteeredByNothing, false, false, kKeyRight, false, false, kNow, false, -1, -1, 1},
        {"clock: Space holds", kSteeredByClock, false, false, kKeyHold, false, true, kNow, true, -1, -1, 1},
        {"clock: Space runs on", kSteeredByClock, true, false, kKeyHold, false, true, kNow, false, -1, -1, 1},
        {"clock: no step while running", kSteeredByClock, false, false, kKeyRight, false, false, kNow, false, -1, -1, 1},
        {"clock: held, a frame on", kSteeredByClock, true, false, kKeyRight, false, true, kNow + 40, true, -1, -1, 1},
        {"clock: held, a second back", kSteeredByClock, true, false, kKeyLeft, true, true, kNow - 1000, true, -1, -1, 1},
        {"clock: up and down do nothing", kSteeredByClock, true, false, kKeyUp, false, false, kNow, true, -1, -1, 1},
        {"clock: slower", kSteeredByClock, false, false, kKeySlower, false, true, kNow, false, -1, -1, 0.5},
        {"clock: faster", kSteeredByClock, false, false, kKeyFaster, false, true, kNow, false, -1, -1, 2},
        {"mouse: Space holds", kSteeredByMouse, false, true, kKeyHold, false, true, kNow, true, 100, 100, 1},
        {"mouse: from the centre", kSteeredByMouse, false, false, kKeyRight, false, true, kNow, false, 641, 360, 1},
        {"mouse: from the pointer, ten up", kSteeredByMouse, false, true, kKeyUp, true, true, kNow, false, 100, 90, 1},
        {"mouse: held, still moved", kSteeredByMouse, true, true, kKeyDown, false, true, kNow, true, 100, 101, 1},
        {"mouse: no speeds", kSteeredByMouse, false, true, kKeyFaster, false, false, kNow, false, 100, 100, 1},
    };
    for (const auto& c : cases) {
        Lesson lesson = startLesson(c.steering);
        if (c.pointerSet) {
            ASSERT_TRUE(pointerMoved(lesson, SDL_Point{100, 100})) << c.what;
        }
        if (c.held) {
            holdLesson(lesson, true, kNow);
        }
        EXPECT_EQ(pressLessonKey(lesson, c.key, c.shift, kNow), c.taken) << c.what;
        const FrameInputs frame = lessonFrame(lesson, kNow, SDL_Point{-1, -1});
        EXPECT_EQ(static_cast<std::int64_t>(frame.ticks), c.ticks) << c.what;
        EXPECT_EQ(isHeld(lesson), c.heldAfter) << c.what;
        EXPECT_EQ(frame.mouse.x, c.x) << c.what;
        EXPECT_EQ(frame.mouse.y, c.y) << c.what;
        EXPECT_EQ(lesson.clock.speed, c.speed) << c.what;
    }
}

TEST(Lesson, AHeldMousePictureKeepsItsPointerUntilItRunsOn)
{
    Lesson lesson = startLesson(kSteeredByMouse);
    EXPECT_TRUE(pointerMoved(lesson, SDL_Point{560, 160}));
    EXPECT_TRUE(holdLesson(lesson, true, 100));
    EXPECT_FALSE(pointerMoved(lesson, SDL_Point{177, 0}));
    EXPECT_EQ(lessonFrame(lesson, 900).mouse.x, 560);
    EXPECT_EQ(lessonFrame(lesson, 900).ticks, 100u) << "a held picture's clock stands too";
    EXPECT_TRUE(holdLesson(lesson, false, 900));
    EXPECT_TRUE(pointerMoved(lesson, SDL_Point{177, 0}));
    EXPECT_EQ(lessonFrame(lesson, 900).mouse.x, 177);
}

// Speeds step through the list and stop at its ends; a speed set from elsewhere steps from the
// nearest one.
TEST(Lesson, SpeedKeysStepThroughTheListAndStopAtItsEnds)
{
    const struct {
        double from;
        LessonKey key;
        double to;
    } cases[] = {
        {1, kKeySlower, 0.5}, {0.5, kKeySlower, 0.25}, {0.25, kKeySlower, 0.25}, {1, kKeyFaster, 2},
        {2, kKeyFaster, 2},   {0.3, kKeyFaster, 0.5},  {16, kKeySlower, 1},
    };
    for (const auto& c : cases) {
        Lesson lesson = startLesson(kSteeredByClock);
        ASSERT_TRUE(setClockSpeed(lesson.clock, c.from, 0));
        EXPECT_TRUE(pressLessonKey(lesson, c.key, false, 0));
        EXPECT_EQ(lesson.clock.speed, c.to) << c.from;
    }
}

// The keys move the pointer one pixel (Shift: ten) and never past the frame's edge, nor further
// out than a typed value put it.
TEST(Lesson, ThePointerStopsAtTheFramesEdgeButIsNeverPulledIn)
{
    const struct {
        SDL_Point from;
        int dx, dy;
        SDL_Point to;
    } cases[] = {
        {{0, 0}, -1, -10, {0, 0}},          {{1279, 719}, 10, 1, {1279, 719}}, {{1275, 5}, 10, -10, {1279, 0}},
        {{520, -40}, 0, -1, {520, -40}},    {{520, -40}, 0, 1, {520, -39}},    {{-5, 800}, -10, 10, {-5, 800}},
        {{-5, 800}, 10, -10, {5, 790}},     {{32767, 0}, 1, 0, {32767, 0}},
    };
    for (const auto& c : cases) {
        Lesson lesson = startLesson(kSteeredByMouse);
        pointerMoved(lesson, c.from);
        movePointerBy(lesson, c.dx, c.dy);
        EXPECT_EQ(lesson.pointer.x, c.to.x) << c.from.x << "," << c.from.y << " by " << c.dx << "," << c.dy;
        EXPECT_EQ(lesson.pointer.y, c.to.y) << c.from.x << "," << c.from.y << " by " << c.dx << "," << c.dy;
    }
}

// A typed value holds the picture where it was typed; the mouse no longer moves it, a key still does.
TEST(Lesson, TypedValuesHoldThePictureWhereTheyPutIt)
{
    Lesson clock = startLesson(kSteeredByClock);
    holdClockAt(clock, 123456, 1000);
    EXPECT_TRUE(isHeld(clock));
    EXPECT_EQ(lessonFrame(clock, 9000).ticks, 123456u);
    EXPECT_TRUE(pressLessonKey(clock, kKeyRight, false, 9000));
    EXPECT_EQ(lessonFrame(clock, 9500).ticks, 123496u);

    Lesson mouse = startLesson(kSteeredByMouse);
    holdLesson(mouse, true, 0);
    placePointer(mouse, SDL_Point{520, -40});
    EXPECT_FALSE(pointerMoved(mouse, SDL_Point{1, 1}));
    EXPECT_TRUE(pressLessonKey(mouse, kKeyDown, false, 0));
    EXPECT_EQ(lessonFrame(mouse, 0).mouse.y, -39);
}
