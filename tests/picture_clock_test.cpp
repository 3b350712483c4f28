// The clock a moving picture runs on in the page: exactly the page's clock until it is touched,
// then held, stepped and sped up or slowed down without ever jumping.
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
    std::int64_t expected; // the picture's clock then; for kSpeed, -1 when the speed is refused
};

constexpr std::int64_t kMax = 4294967295;

}  // namespace

TEST(PictureClock, RunsPausesStepsAndChangesSpeedWithoutJumps)
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
