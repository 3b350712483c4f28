// Sine and cosine on the unit circle, and the phase-shifted waves: readouts, projection lines,
// radii, connectors, the tracer's reach and the shared circle, checked in the drawn frame.
#include "scene_window.h"

#include "common/text.h"
#include "scenes/scenes.h"
#include "scenes/unit_circle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kGrey = rgb(127, 127, 127);
constexpr int kNoCurve = -1;  // lastCurveColumn when phase is 0

struct Line {
    SDL_Point from;
    SDL_Point to;
};

struct Label {
    const char* text;
    int x;
    int y;
};

void drawLines(const std::vector<Line>& lines, Uint8 r, Uint8 g, Uint8 b)
{
    SDL_SetRenderDrawColor(app.renderer, r, g, b, 255);
    for (const Line& l : lines) {
        SDL_RenderDrawLine(app.renderer, l.from.x, l.from.y, l.to.x, l.to.y);
    }
}

void drawLabels(const std::vector<Label>& labels)
{
    for (const Label& l : labels) {
        drawLabel(app.smallFont, l.text, {255, 255, 255, 0}, l.x, l.y);
    }
}

bool inCircleBox(int x, int y) { return x >= 100 && x <= 300 && y >= 100 && y <= 300; }

// Pixels of `drawn` that are neither the reference's pixel nor a white point the reference leaves
// out where `whiteMayShow` allows it; the first few are spelled out in `where`.
int differences(const Frame& drawn, const Frame& reference,
                const std::function<bool(int, int, std::uint32_t)>& whiteMayShow, std::string& where)
{
    int n = 0;
    for (int y = 0; y < kWindowHeight; ++y) {
        for (int x = 0; x < kWindowWidth; ++x) {
            const std::uint32_t d = drawn.at(x, y);
            const std::uint32_t r = reference.at(x, y);
            if (d == r || (d == kWhite && whiteMayShow(x, y, r))) {
                continue;
            }
            if (++n <= 5) {
                char text[64];
                std::snprintf(text, sizeof text, " (%d, %d): %06x not %06x", x, y, d, r);
                where += text;
            }
        }
    }
    return n;
}

// Right-most column right of the angle-0 axis, between rows top and bottom, where the frame is
// white and the reference is not: where the visible curves end.
int rightmostExtraWhite(const Frame& drawn, const Frame& reference, int top, int bottom)
{
    for (int x = kWindowWidth - 1; x >= 400; --x) {
        for (int y = top; y <= bottom; ++y) {
            if (drawn.at(x, y) == kWhite && reference.at(x, y) != kWhite) {
                return x;
            }
        }
    }
    return kNoCurve;
}

// The grid of the sine-and-cosine scene: levels, the circle's extent, the angle-0 axis, diagonals.
const std::vector<Line> kSineCosineGrid = {
    {{0, 100}, {1280, 100}},   {{0, 200}, {1280, 200}},   {{0, 300}, {1280, 300}},
    {{300, 400}, {1280, 400}}, {{300, 500}, {1280, 500}}, {{300, 600}, {1280, 600}},
    {{100, 0}, {100, 400}},    {{200, 0}, {200, 400}},    {{300, 0}, {300, 400}},
    {{400, 0}, {400, 720}},    {{100, 400}, {300, 600}},  {{200, 400}, {300, 500}},
};

std::string readout(void (*format)(char*, std::size_t, float), float phase)
{
    char text[32];
    format(text, sizeof text, phase);
    return text;
}

}  // namespace

TEST(SineCosineReadouts, ShowTheAngleWithinTheTurnAndItsCosineAndSine)
{
    const struct {
        float phase;
        const char* angle;
        const char* cosine;
        const char* sine;
    } cases[] = {
        {0.0f, "0.0000 deg = 0.0000 rad", "cos(0.0000rad) = 1.0000", "sin(0.0000rad) = 0.0000"},
        {1.0f, "57.2958 deg = 1.0000 rad", "cos(1.0000rad) = 0.5403", "sin(1.0000rad) = 0.8415"},
        // The cosine of pi/2 in single precision is a tiny negative number and keeps its sign.
        {1.5707964f, "90.0000 deg = 1.5708 rad", "cos(1.5708rad) = -0.0000", "sin(1.5708rad) = 1.0000"},
        // Second turn: the readouts start again from 7 - 2 pi = 0.7168.
        {7.0f, "41.0705 deg = 0.7168 rad", "cos(0.7168rad) = 0.7539", "sin(0.7168rad) = 0.6570"},
        // Just below 6 pi: the longest angle text, 25 characters.
        {18.8495f, "359.9968 deg = 6.2831 rad", "cos(6.2831rad) = 1.0000", "sin(6.2831rad) = -0.0001"},
        // The largest single value below 2 pi stays in the first turn but rounds up to 360 degrees.
        {6.2831850f, "360.0000 deg = 6.2832 rad", "cos(6.2832rad) = 1.0000", "sin(6.2832rad) = -0.0000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readout(formatAngleReadout, c.phase), c.angle) << c.phase;
        EXPECT_EQ(readout(formatCosineReadout, c.phase), c.cosine) << c.phase;
        EXPECT_EQ(readout(formatSineReadout, c.phase), c.sine) << c.phase;
    }
}

TEST(CurveTracer, StepsDriftBelowWholeHundredths)
{
    // Held in single precision, the 101st angle is 0.9999993, still below 1.
    float t = 0.0f;
    for (int i = 0; i < 100; ++i) {
        t = nextTracerAngle(t);
    }
    EXPECT_LT(t, 1.0f);
    EXPECT_NEAR(t, 0.9999993, 5e-8);

    const struct {
        float phase;
        int steps;
    } cases[] = {{0.0f, 0}, {0.005f, 1}, {1.0f, 101}, {7.0f, 700}, {18.8495f, 1885}};
    for (const auto& c : cases) {
        int steps = 0;
        for (float a = 0.0f; c.phase > a; a = nextTracerAngle(a)) {
            ++steps;
        }
        EXPECT_EQ(steps, c.steps) << c.phase;
    }
}

using SineCosine = SceneTest;

TEST_F(SineCosine, ReadoutsProjectionLinesAndCurveEndsAreWhereTheAngleSays)
{
    const struct {
        float phase;
        const char* angle;
        const char* cosine;
        const char* sine;
        std::vector<Line> red;
        std::vector<Line> blue;
        int lastCurveColumn;
    } cases[] = {
        {0.0f, "0.0000 deg = 0.0000 rad", "cos(0.0000rad) = 1.0000", "sin(0.0000rad) = 0.0000",
         {{{200, 100}, {400, 100}}},
         {{{200, 100}, {200, 400}}, {{200, 400}, {300, 500}}, {{300, 500}, {400, 500}}},
         kNoCurve},
        {1.0f, "57.2958 deg = 1.0000 rad", "cos(1.0000rad) = 0.5403", "sin(1.0000rad) = 0.8415",
         {{{284, 146}, {430, 146}}},
         {{{284, 146}, {284, 400}}, {{284, 400}, {300, 416}}, {{300, 416}, {430, 416}}},
         429},
        // sin is exactly 1 in single precision: the diagonal shrinks to the point (300, 400).
        {1.5707964f, "90.0000 deg = 1.5708 rad", "cos(1.5708rad) = -0.0000", "sin(1.5708rad) = 1.0000",
         {{{300, 200}, {447, 200}}},
         {{{300, 200}, {300, 400}}, {{300, 400}, {300, 400}}, {{300, 400}, {447, 400}}},
         447},
        // sin 7 = 0.65699 and cos 7 = 0.75390: offsets 65 and 75 pixels; 7 x 30 = 210 columns.
        {7.0f, "41.0705 deg = 0.7168 rad", "cos(0.7168rad) = 0.7539", "sin(0.7168rad) = 0.6570",
         {{{265, 125}, {610, 125}}},
         {{{265, 125}, {265, 400}}, {{265, 400}, {300, 435}}, {{300, 435}, {610, 435}}},
         609},
        // sin 4 = -0.75680 and cos 4 = -0.65364: the negative products truncate toward zero before
        // the sums, so the point is at column 200 - 75 = 125 (not at 124, the truncated 124.32).
        {4.0f, "229.1831 deg = 4.0000 rad", "cos(4.0000rad) = -0.6536", "sin(4.0000rad) = -0.7568",
         {{{125, 265}, {520, 265}}},
         {{{125, 265}, {125, 400}}, {{125, 400}, {300, 575}}, {{300, 575}, {520, 575}}},
         519},
    };
    for (const auto& c : cases) {
        const Frame drawn = renderFrame([&] { drawSineCosine(c.phase); });
        const Frame reference = renderFrame([&] {
            drawLabels({{"Graficzne przedstawienie sinusa i cosinusa", 12, 12},
                        {c.angle, 12, 36},
                        {c.cosine, 405, 83},
                        {c.sine, 405, 383}});
            drawLines(kSineCosineGrid, 127, 127, 127);
            drawLines(c.red, 255, 0, 0);
            drawLines(c.blue, 0, 0, 255);
        });
        // The circle lies under the grid and the lines; the curves lie over everything.
        const auto whiteMayShow = [&](int x, int y, std::uint32_t under) {
            const bool onCurves = x >= 400 && x <= c.lastCurveColumn &&
                                  ((y >= 100 && y <= 300) || (y >= 400 && y <= 600));
            return onCurves || (inCircleBox(x, y) && under == kBlack);
        };
        std::string where;
        EXPECT_EQ(differences(drawn, reference, whiteMayShow, where), 0) << "phase " << c.phase << ":" << where;
        EXPECT_EQ(rightmostExtraWhite(drawn, reference, 100, 300), c.lastCurveColumn) << "cosine, phase " << c.phase;
        EXPECT_EQ(rightmostExtraWhite(drawn, reference, 400, 600), c.lastCurveColumn) << "sine, phase " << c.phase;
    }
}

TEST_F(SineCosine, TracerStepCountsShowInTheLastCurvePoints)
{
    // At phase 1 the 101st step (t = 0.9999993) puts its points at (429, 145) and (429, 415), one
    // pixel off the projection lines' ends (430, 146) and (430, 416); a 100th step alone (t = 0.99)
    // would leave the sine at row 416.
    const Frame one = renderFrame([] { drawSineCosine(1.0f); });
    EXPECT_EQ(one.at(429, 145), kWhite);
    EXPECT_EQ(one.at(429, 415), kWhite);
    EXPECT_EQ(one.at(430, 146), kRed);
    EXPECT_EQ(one.at(430, 416), kBlue);
    // The curves lie over grid and lines: they start at (400, 100) and (400, 500) on grid crossings,
    // and the sine's step t = 0.99 (row 416) sits on the blue line.
    EXPECT_EQ(one.at(400, 100), kWhite);
    EXPECT_EQ(one.at(400, 500), kWhite);
    EXPECT_EQ(one.at(429, 416), kWhite);

    // Just below 6 pi, 1885 steps reach column 965 (18.84 x 30 = 565.2) and no further.
    const Frame full = renderFrame([] { drawSineCosine(18.8495f); });
    EXPECT_FALSE(full.rowsIn(965, kWhite).empty());
    EXPECT_TRUE(full.rowsIn(966, kWhite).empty());
    // The last step, t = 18.84, is 0.009 short of 6 pi: the cosine at its top row, the sine on its zero line.
    EXPECT_EQ(full.at(965, 100), kWhite);
    EXPECT_EQ(full.at(965, 500), kWhite);
}

using PhaseShift = SceneTest;

TEST_F(PhaseShift, RadiiAndConnectorsEndAtTheTipsAndTheLevelsLieOverThem)
{
    const struct {
        float phase;
        int xEnd;
        SDL_Point red;
        SDL_Point green;
        SDL_Point blue;
        int lastVisibleCurveColumn;
    } cases[] = {
        {0.0f, 400, {300, 200}, {150, 113}, {150, 286}, kNoCurve},
        {1.0f, 430, {254, 115}, {100, 195}, {245, 288}, 429},
        // Column 447 holds only the last step (t = 1.57), whose three points fall on row 100 and on
        // the connectors' rows 249 and 250, all drawn later: the visible curves end at 446.
        {1.5707964f, 447, {200, 100}, {113, 250}, {286, 249}, 446},
    };
    for (const auto& c : cases) {
        const Frame drawn = renderFrame([&] { drawPhaseShift(c.phase); });
        const SDL_Point centre{200, 200};
        const Frame reference = renderFrame([&] {
            drawLabels({{"Przesuniecie fazowe", 12, 12}});
            drawLines({{centre, c.red}, {{c.xEnd, c.red.y}, c.red}}, 255, 0, 0);
            drawLines({{centre, c.green}, {{c.xEnd, c.green.y}, c.green}}, 0, 255, 0);
            drawLines({{centre, c.blue}, {{c.xEnd, c.blue.y}, c.blue}}, 0, 0, 255);
            drawLines({{{0, 100}, {1280, 100}}, {{0, 200}, {1280, 200}}, {{0, 300}, {1280, 300}}}, 127, 127, 127);
        });
        // Circle and curves are drawn first, so they show only where nothing else is.
        const auto whiteMayShow = [&](int x, int y, std::uint32_t under) {
            const bool onCurves = x >= 400 && x <= c.lastVisibleCurveColumn && y >= 100 && y <= 300;
            return under == kBlack && (onCurves || inCircleBox(x, y));
        };
        std::string where;
        EXPECT_EQ(differences(drawn, reference, whiteMayShow, where), 0) << "phase " << c.phase << ":" << where;
        EXPECT_EQ(rightmostExtraWhite(drawn, reference, 100, 300), c.lastVisibleCurveColumn) << "phase " << c.phase;
    }
    // At 0 the red radius and connector both lie on row 200, under the grey zero line.
    EXPECT_EQ(renderFrame([] { drawPhaseShift(0.0f); }).count(kRed), 0);
}

TEST_F(PhaseShift, JustBelowSixPiCurvesAndConnectorsMeetAtColumn965)
{
    const Frame drawn = renderFrame([] { drawPhaseShift(18.8495f); });
    EXPECT_FALSE(drawn.rowsIn(965, kWhite).empty());
    EXPECT_TRUE(drawn.rowsIn(966, kWhite).empty());
    // The red radius is 0.00006 short of a whole turn: it and its connector lie on row 200, under grey.
    EXPECT_EQ(drawn.count(kRed), 0);
    for (std::uint32_t colour : {kGreen, kBlue}) {
        int right = -1;
        for (int x = 0; x < kWindowWidth; ++x) {
            right = drawn.rowsIn(x, colour).empty() ? right : x;
        }
        EXPECT_EQ(right, 965) << std::hex << colour;
    }
}

using UnitCircle = SceneTest;

TEST_F(UnitCircle, OutlineIsRoundAndStopsJustShortOfATurn)
{
    const Frame circle = renderFrame(drawUnitCircle);
    for (int y = 0; y < kWindowHeight; ++y) {
        for (int x = 0; x < kWindowWidth; ++x) {
            if (circle.at(x, y) != kWhite) {
                continue;
            }
            const double r = std::hypot(x - 200.0, y - 200.0);
            EXPECT_TRUE(r > 98.5 && r < 101.5) << x << ", " << y;
        }
    }
    EXPECT_EQ(circle.count(kWhite) + circle.count(kBlack), kWindowWidth * kWindowHeight) << "white on black only";
    // Every row across the circle has a point on both sides of the centre, except right of it in
    // row 199, which only the missing end of the turn would fill.
    for (int y = 101; y < 300; ++y) {
        const std::vector<int> columns = circle.columnsIn(y, kWhite);
        ASSERT_FALSE(columns.empty()) << "row " << y;
        EXPECT_LT(columns.front(), 200) << "row " << y;
        EXPECT_EQ(columns.back() > 200, y != 199) << "row " << y;
    }
    // a = 0 lands on (300, 200); a = 0.01 on (299, 200) as y grows with the sine; the last point,
    // a = 6.27, on (299, 198). A 629th point (a = 6.28) or the opposite sense would mark (299, 199).
    EXPECT_EQ(circle.at(300, 200), kWhite);
    EXPECT_EQ(circle.at(299, 200), kWhite);
    EXPECT_EQ(circle.at(299, 198), kWhite);
    EXPECT_EQ(circle.at(299, 199), kBlack);
}

TEST_F(UnitCircle, BothScenesDrawTheSameOutline)
{
    const Frame circle = renderFrame(drawUnitCircle);
    const struct {
        const char* scene;
        std::function<void()> draw;
    } scenes[] = {
        {"sine and cosine", [] { drawSineCosine(0.0f); }},
        {"sine and cosine", [] { drawSineCosine(4.0f); }},
        {"phase shift", [] { drawPhaseShift(0.0f); }},
        {"phase shift", [] { drawPhaseShift(4.0f); }},
    };
    for (const auto& s : scenes) {
        const Frame drawn = renderFrame(s.draw);
        int compared = 0;
        int different = 0;
        for (int y = 95; y <= 305; ++y) {
            for (int x = 95; x <= 305; ++x) {
                const std::uint32_t d = drawn.at(x, y);
                if (d != kWhite && d != kBlack) {
                    continue;  // a grid line, projection or radius lies over the circle here
                }
                compared += circle.at(x, y) == kWhite ? 1 : 0;
                different += d != circle.at(x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(different, 0) << s.scene;
        EXPECT_GT(compared, 500) << s.scene;
    }
}
