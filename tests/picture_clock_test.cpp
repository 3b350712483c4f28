// The clock a moving picture runs on in the page: exactly the page's clock until it is touched,
// then paused, stepped and sped up or slowed down without ever jumping.
#include "web/picture_clock.h"

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
    std::int64_t expected; // the picture's clock right after, at `now`; for kSpeed -1 if refused
};

struct Scenario {
    const char* name;
    std::vector<Step> steps;
};

constexpr std::int64_t kMax = 4294967295;

}  // namespace

TEST(PictureClock, RunsPausesStepsAndChangesSpeedWithoutJumps)
{
    const Scenario scenarios[] = {
        {"untouched it is the page's clock",
         {{kRead, 0, 0, 0}, {kRead, 1, 0, 1}, {kRead, 12345, 0, 12345}, {kRead, 4294967295u, 0, kMax}}},
        {"pause holds, steps are 40 ms and a second, never below 0, resume goes on",
         {{kPause, 1000, 0, 1000}, {kRead, 5000, 0, 1000}, {kStep, 5000, 40, 1040}, {kStep, 5000, 40, 1080},
          {kStep, 5000, 40, 1120}, {kStep, 5000, -1000, 120}, {kStep, 5000, -1000, 0}, {kRead, 5100, 0, 0},
          {kResume, 6000, 0, 0}, {kRead, 6100, 0, 100}, {kResume, 6100, 0, 100}, {kRead, 6200, 0, 200}}},
        {"steps are ignored while the clock runs",
         {{kStep, 500, 1000, 500}, {kRead, 700, 0, 700}}},
        {"speed changes continue from the value shown",
         {{kSpeed, 1000, 0.5, 1000}, {kRead, 3000, 0, 2000}, {kSpeed, 3000, 2, 2000}, {kRead, 3500, 0, 3000},
          {kSpeed, 3500, 0.25, 3000}, {kRead, 3503, 0, 3000}, {kRead, 3504, 0, 3001}}},
        {"a paused clock keeps its speed for later and pauses on a whole millisecond",
         {{kSpeed, 1000, 0.25, 1000}, {kPause, 1003, 0, 1000}, {kSpeed, 2000, 2, 1000}, {kStep, 2000, 40, 1040},
          {kResume, 3000, 0, 1040}, {kRead, 3010, 0, 1060}}},
        {"refused speeds change nothing",
         {{kSpeed, 100, 0, -1}, {kSpeed, 100, -1, -1}, {kSpeed, 100, std::nan(""), -1}, {kSpeed, 100, 17, -1},
          {kSpeed, 100, INFINITY, -1}, {kRead, 200, 0, 200}}},
        {"the clock stops at its largest value",
         {{kSpeed, 4294967000u, 2, 4294967000}, {kRead, 4294967295u, 0, kMax}, {kPause, 4294967295u, 0, kMax},
          {kStep, 0, 1000, kMax}, {kStep, 0, -1000, kMax - 1000}}},
        {"across the page clock's wrap",
         {{kPause, 4294967290u, 0, 4294967290}, {kStep, 0, -4294967290.0, 0}, {kResume, 4294967290u, 0, 0},
          {kRead, 10, 0, 16}}},
    };
    for (const Scenario& s : scenarios) {
        PictureClock clock;
        for (std::size_t i = 0; i < s.steps.size(); ++i) {
            const Step& step = s.steps[i];
            const std::uint32_t now = step.now;
            switch (step.action) {
            case kRead:
                break;
            case kPause:
                pauseClock(clock, true, now);
                break;
            case kResume:
                pauseClock(clock, false, now);
                break;
            case kStep:
                stepClock(clock, static_cast<std::int64_t>(step.value));
                break;
            case kSpeed: {
                const PictureClock before = clock;
                const bool taken = setClockSpeed(clock, step.value, now);
                EXPECT_EQ(taken, step.expected >= 0) << s.name << ", step " << i;
                if (!taken) {
                    EXPECT_EQ(clockTicks(clock, now), clockTicks(before, now)) << s.name << ", step " << i;
                    EXPECT_EQ(clock.speed, before.speed) << s.name << ", step " << i;
                    continue;
                }
                break;
            }
            }
            EXPECT_EQ(static_cast<std::int64_t>(clockTicks(clock, now)), step.expected) << s.name << ", step " << i;
        }
    }
}
