// The computed sine: the factorial, the precision bands, where each curve leaves the window, and
// pointer positions far to the right, where powers and factorials leave the double range.
#include "scene_window.h"

#include "common/text.h"
#include "scenes/scenes.h"

#include <cmath>
#include <vector>

namespace {

constexpr int kTextBottom = 70;  // title and readout stay above this row
constexpr int kTextRight = 300;  // and left of this column

// Pixels of the text corner that differ from the title and readout drawn on their own.
int labelDifferences(const Frame& scene, const char* readout)
{
    const SDL_Color white{255, 255, 255, 0};
    const Frame expected = renderFrame([&] {
        drawLabel(app.smallFont, "Obliczony sinus", white, 12, 12);
        drawLabel(app.largeFont, readout, white, 12, 28);
    });
    return scene.differencesIn(expected, kTextRight, kTextBottom);
}

// The white rows of column x outside the text corner.
std::vector<int> curveRows(const Frame& frame, int x)
{
    std::vector<int> rows;
    for (int y : frame.rowsIn(x, kWhite)) {
        if (y >= kTextBottom || x >= kTextRight) {
            rows.push_back(y);
        }
    }
    return rows;
}

}  // namespace

class ComputedSineTest : public SceneTest {};

// n! exactly up to 21!, the last finite one at 170, infinity after; nothing below 2 recurses.
TEST(Factorial, Values)
{
    EXPECT_EQ(factorial(0), 1.0);
    EXPECT_EQ(factorial(1), 1.0);
    EXPECT_EQ(factorial(3), 6.0);
    EXPECT_EQ(factorial(10), 3628800.0);
    EXPECT_EQ(factorial(21), 51090942171709440000.0);
    EXPECT_NEAR(factorial(170) / 7.257415615307999e306, 1.0, 1e-13);
    EXPECT_TRUE(std::isinf(factorial(171)));
    EXPECT_TRUE(std::isinf(factorial(1000000)));
    EXPECT_EQ(factorial(-5), 1.0);
}

// Precision (10 m) / 1280 + 1 in the readout, and the first column whose point is outside the
// window: a straight line y = 360 - 100 x without terms (x = 3.61 at column 722), then the
// polynomials of degree 3 to 11. From column 798 (m = 32767, degree 513), 903 (m = 30000,
// degree 471) and 1277 (m = 24320, degree 383) the last power overflows and there is no point.
TEST_F(ComputedSineTest, PrecisionAndWhereTheCurveEnds)
{
    struct Case {
        int m;
        const char* readout;
        int firstMissing;  // kWindowWidth: a point in every column
    };
    const Case cases[] = {
        {-32768, "precyzja: -255", 722}, {-128, "precyzja: 0", 722}, {-127, "precyzja: 1", 699},
        {0, "precyzja: 1", 699},         {127, "precyzja: 1", 699},  {128, "precyzja: 2", 870},
        {256, "precyzja: 3", 943},       {384, "precyzja: 4", 1139}, {512, "precyzja: 5", 1271},
        {1151, "precyzja: 9", 1280},     {1152, "precyzja: 10", 1280},
        {24000, "precyzja: 188", 1280},  {24320, "precyzja: 191", 1277},
        {30000, "precyzja: 235", 903},   {32767, "precyzja: 256", 798},
    };
    for (const Case& c : cases) {
        const Frame frame = renderFrame([&] { drawComputedSineAt(c.m); });
        EXPECT_EQ(labelDifferences(frame, c.readout), 0) << c.readout;
        EXPECT_EQ(frame.at(0, 360), kWhite) << c.m;
        int x = 0;
        while (x < kWindowWidth && curveRows(frame, x).size() == 1) {
            ++x;
        }
        EXPECT_EQ(x, c.firstMissing) << "m = " << c.m;
        for (; x < kWindowWidth; ++x) {
            EXPECT_TRUE(curveRows(frame, x).empty()) << "m = " << c.m << ", column " << x;
        }
    }
}

// From precision 6 on the curve stays within rows 260 to 460; at precision 10 and beyond every
// point is within a pixel of the sine's own, over the whole width or as far as the powers stay
// finite.
TEST_F(ComputedSineTest, CloseToTheSine)
{
    struct Case {
        int m, width;
        bool nearSine;
    };
    const Case cases[] = {
        {640, 1280, false}, {1279, 1280, true}, {24000, 1280, true}, {32767, 798, true}};
    for (const Case& c : cases) {
        const int m = c.m;
        const Frame frame = renderFrame([m] { drawComputedSineAt(m); });
        for (int x = 0; x < c.width; ++x) {
            const int sineRow = static_cast<int>(360.0 - 100.0 * std::sin(x / 200.0));
            const std::vector<int> rows = curveRows(frame, x);
            ASSERT_EQ(rows.size(), 1u) << "m = " << m << ", column " << x;
            EXPECT_TRUE(rows[0] >= 260 && rows[0] <= 460) << "m = " << m << ", column " << x;
            if (c.nearSine) {
                EXPECT_LE(std::abs(rows[0] - sineRow), 1) << "m = " << m << ", column " << x;
            }
        }
    }
}

// The answer "10" draws this scene for the pointer's column.
