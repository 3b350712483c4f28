// The sine, cosine and tangent graphs as they land in the window for chosen clock values.
#include "scene_window.h"

#include "common/text.h"
#include "scenes/scenes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// Everything below the labels and the readout.
constexpr int kGraphTop = 60;

Frame trigFrame(std::uint32_t ticks)
{
    return renderFrame([ticks] { drawTrigFunctionsAt(ticks); });
}

int countBelowLabels(const Frame& frame, std::uint32_t colour)
{
    int n = 0;
    for (int y = kGraphTop; y < kWindowHeight; ++y) {
        for (int x = 0; x < kWindowWidth; ++x) {
            n += frame.at(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}

std::string readoutFor(std::uint32_t ticks)
{
    char text[16];
    formatText(text, sizeof text, "%.2f Hz", static_cast<double>(trigFrequency(ticks)));
    return text;
}

}  // namespace

using TrigFunctions = SceneTest;

TEST(TrigFrequency, ClimbsFrom0To20EveryFourSeconds)
{
    const struct {
        std::uint32_t ticks;
        const char* readout;
    } cases[] = {
        {0, "0.00 Hz"},     {1, "0.01 Hz"},     {20, "0.10 Hz"},        {1000, "5.00 Hz"},
        {3999, "20.00 Hz"}, {4000, "0.00 Hz"},  {4001, "0.01 Hz"},      {12000, "0.00 Hz"},
        {16776000, "0.00 Hz"},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(trigFrequency(c.ticks), static_cast<float>(c.ticks % 4000) / 200.0f, 1e-4) << c.ticks;
        EXPECT_EQ(readoutFor(c.ticks), c.readout) << c.ticks;
    }
    for (std::uint32_t ticks : {16777216u, 16777217u, 2147483647u, 4294967295u}) {
        const float f = trigFrequency(ticks);
        EXPECT_GE(f, 0.0f) << ticks;
        EXPECT_LT(f, 20.0f) << ticks;
        EXPECT_LE(readoutFor(ticks).size(), 15u);
    }
}

TEST_F(TrigFunctions, AtWholeFourSecondsOnlyTheNamesAreDrawn)
{
    for (std::uint32_t ticks : {0u, 4000u, 8000u}) {
        const Frame frame = trigFrame(ticks);
        EXPECT_EQ(countBelowLabels(frame, kBlack), kWindowWidth * (kWindowHeight - kGraphTop)) << ticks;
        EXPECT_GT(frame.count(kRed), 0) << "Sinusoida";
        EXPECT_GT(frame.count(kGreen), 0) << "Cosinusoida";
        EXPECT_GT(frame.count(kBlue), 0) << "Tangensoida";
        EXPECT_GT(frame.count(kWhite), 0) << "0.00 Hz";
    }
}

TEST_F(TrigFunctions, OneMillisecondGivesSevenSamplesAbout200ColumnsApart)
{
    const Frame frame = trigFrame(1);
    // The cosine of angles up to 0.03 lies on row 260, the top of the band.
    const std::vector<int> cosine = frame.columnsIn(260, kGreen);
    ASSERT_EQ(cosine.size(), 7u);
    EXPECT_EQ(countBelowLabels(frame, kGreen), 7);
    for (std::size_t i = 0; i < cosine.size(); ++i) {
        EXPECT_NEAR(cosine[i], 200 * static_cast<int>(i), 1) << "sample " << i;
    }
    // The tangent starts on the centre line and covers the sine's first point there; for angles
    // this small sine and tangent share or neighbour their rows, so every red point stands in a
    // sample column, right beside the blue one.
    EXPECT_EQ(frame.at(0, 360), kBlue);
    EXPECT_EQ(countBelowLabels(frame, kBlue), 7);
    EXPECT_GT(countBelowLabels(frame, kRed), 0);
    for (int x : cosine) {
        for (int y : frame.rowsIn(x, kRed)) {
            EXPECT_TRUE(y >= 357 && y <= 360) << x << "," << y;
        }
        EXPECT_EQ(frame.rowsIn(x, kBlue).size(), 1u) << x;
    }
}

TEST_F(TrigFunctions, TwentyMillisecondsGive128SamplesTenColumnsApart)
{
    const Frame frame = trigFrame(20);
    EXPECT_EQ(countBelowLabels(frame, kGreen), 128);
    EXPECT_EQ(countBelowLabels(frame, kBlue), 128);
    EXPECT_EQ(frame.at(0, 260), kGreen);
    EXPECT_EQ(frame.at(0, 360), kBlue);
    for (int i = 0; i < 128; ++i) {
        const bool near = !frame.rowsIn(10 * i, kGreen).empty() || !frame.rowsIn(10 * i - 1, kGreen).empty();
        EXPECT_TRUE(near) << "cosine sample " << i;
    }
    // Angles up to 0.635 radians: the cosine falls from row 260 to about row 280.
    for (int x = 0; x < kWindowWidth; ++x) {
        for (int y : frame.rowsIn(x, kGreen)) {
            EXPECT_TRUE(y < kGraphTop || (y >= 260 && y <= 280)) << x << "," << y;
        }
    }
}

TEST_F(TrigFunctions, JustBeforeTheWrapTheSineShowsTwentyPeriods)
{
    const Frame frame = trigFrame(3999);
    int crossings = 0;
    int columnsWithCosine = 0;
    bool above = true;  // the sine starts at 0 and rises
    for (int x = 0; x < kWindowWidth; ++x) {
        const std::vector<int> red = frame.rowsIn(x, kRed);
        columnsWithCosine += frame.rowsIn(x, kGreen).empty() ? 0 : 1;
        for (int y : red) {
            if (y < kGraphTop) {
                continue;
            }
            ASSERT_TRUE(y >= 260 && y <= 460) << x << "," << y;
        }
        // A column whose red points all lie below the centre line has crossed downwards.
        if (!red.empty() && red.front() > kGraphTop) {
            const bool nowAbove = red.back() < 360;
            const bool nowBelow = red.front() > 360;
            if ((above && nowBelow) || (!above && nowAbove)) {
                ++crossings;
                above = !above;
            }
        }
    }
    EXPECT_NEAR(crossings, 40, 1) << "two crossings of the centre line per period";
    // About twenty samples a column: the cosine shows in every column the tangent does not cover.
    EXPECT_GT(columnsWithCosine, 1200);
    EXPECT_EQ(frame.at(0, 260), kGreen);
    // The tangent's samples near its poles lie hundreds of thousands of rows away: clipped.
    EXPECT_GT(countBelowLabels(frame, kBlue), 1000);
}
