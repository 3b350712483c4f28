// The quadratic function: axes and marks, the curve for chosen coefficients, the readout, and
// mouse positions far outside the window.
#include "scene_window.h"

#include "common/text.h"
#include "scenes/scenes.h"

#include <vector>

namespace {

constexpr std::uint32_t kYellow = rgb(255, 255, 0);
constexpr int kTextBottom = 70;  // title and readout stay above this row
constexpr int kTextRight = 400;  // and left of this column

std::vector<int> range(int from, int to, int step)
{
    std::vector<int> values;
    for (int v = from; v <= to; v += step) {
        values.push_back(v);
    }
    return values;
}

// Pixels of the text corner that differ from the title and readout drawn on their own.
int labelDifferences(const Frame& scene, const char* readout)
{
    const SDL_Color white{255, 255, 255, 0};
    const Frame expected = renderFrame([&] {
        drawLabel(app.largeFont, readout, white, 12, 28);
        drawLabel(app.smallFont, "Funkcja kwadratowa", white, 12, 12);
    });
    return scene.differencesIn(expected, kTextRight, kTextBottom);
}

}  // namespace

class QuadraticTest : public SceneTest {};

// a = b = 0: the curve is row 360 in yellow over the axis. Of the 64 marks, 48 are in the window:
// 16 left and 15 right of the origin cross row 356, 9 above and 8 below it cross column 636.
TEST_F(QuadraticTest, FlatCurveAndTheVisibleMarks)
{
    const Frame frame = renderFrame([] { drawQuadraticAt(640, 360); });
    EXPECT_EQ(frame.columnsIn(360, kYellow).size(), 1280u);
    std::vector<int> markColumns = range(0, 1240, 40);  // 16 + 15 marks and the vertical axis
    EXPECT_EQ(frame.columnsIn(356, kWhite), markColumns);
    std::vector<int> markRows = range(0, 680, 40);
    markRows.erase(markRows.begin() + 9);  // row 360 is the curve's
    EXPECT_EQ(frame.rowsIn(636, kWhite), markRows);
    EXPECT_EQ(frame.columnsIn(320, kWhite), range(635, 645, 1));  // a mark is 11 pixels long
    EXPECT_EQ(frame.rowsIn(640, kYellow), std::vector<int>{360});
}

// a = 1: vertex at the origin, one unit up one unit to either side, the top row reached in
// columns 520 and 760 (120 pixels out: 120^2 / 40 = 360).
TEST_F(QuadraticTest, ParabolaOfAOne)
{
    const Frame frame = renderFrame([] { drawQuadraticAt(640, 160); });
    EXPECT_EQ(frame.at(640, 360), kYellow);
    EXPECT_EQ(frame.at(600, 320), kYellow);
    EXPECT_EQ(frame.at(680, 320), kYellow);
    EXPECT_EQ(frame.columnsIn(0, kYellow), (std::vector<int>{520, 760}));
    EXPECT_EQ(frame.rowsIn(640, kYellow), std::vector<int>{360});
}

// b = 1: the straight line row = 1000 - column, one pixel in each of the 720 rows.
TEST_F(QuadraticTest, StraightLineOfBOne)
{
    const Frame frame = renderFrame([] { drawQuadraticAt(680, 360); });
    for (int x = 281; x <= 1000; ++x) {
        EXPECT_EQ(frame.at(x, 1000 - x), kYellow) << "column " << x;
    }
    EXPECT_EQ(frame.count(kYellow), 720);
}

// Rows truncate toward zero: with b = 0.75 the offsets 479, 480 and 481 give 0.75, 0 and -0.75,
// all row 0; offset 482 gives -1.5, row -1, outside.
TEST_F(QuadraticTest, RowsBetweenMinusOneAndZeroAreTheTopRow)
{
    const Frame frame = renderFrame([] { plotQuadratic(0.0f, 0.75f); });
    EXPECT_EQ(frame.columnsIn(0, kYellow), (std::vector<int>{1119, 1120, 1121}));
}

// The readout for the whole range of positions. Far outside the window the curve is millions of
// rows high but still passes the origin, which is always on it (c = 0).
TEST_F(QuadraticTest, ReadoutAndOriginAnywhere)
{
    struct Case {
        int mx, my;
        const char* readout;
    };
    const Case cases[] = {
        {640, 360, "a = 0.0000 | b = 0.0000 | c = 0"},
        {0, 0, "a = 1.8000 | b = -16.0000 | c = 0"},
        {1279, 719, "a = -1.7950 | b = 15.9750 | c = 0"},
        {-32768, -32768, "a = 165.6400 | b = -835.2000 | c = 0"},
        {32767, 32767, "a = -162.0350 | b = 803.1750 | c = 0"},
        {32767, -32768, "a = 165.6400 | b = 803.1750 | c = 0"},
        {-32768, 32767, "a = -162.0350 | b = -835.2000 | c = 0"},
        {30000, 0, "a = 1.8000 | b = 734.0000 | c = 0"},
        {640, -32768, "a = 165.6400 | b = 0.0000 | c = 0"},
        {640, 32767, "a = -162.0350 | b = 0.0000 | c = 0"},
    };
    for (const Case& c : cases) {
        const Frame frame = renderFrame([&] { drawQuadraticAt(c.mx, c.my); });
        EXPECT_EQ(labelDifferences(frame, c.readout), 0) << c.readout;
        EXPECT_EQ(frame.at(640, 360), kYellow) << c.readout;
    }
}

// a = 165.64 at (640, -32768): rows fall 4.14 per squared pixel, so only offsets -9 to 9 lie in
// the window (9^2 * 4.141 = 335) and the lines to offsets +-10 (row -54) leave it through the top.
TEST_F(QuadraticTest, SteepParabolaStaysNearTheAxis)
{
    const Frame frame = renderFrame([] { drawQuadraticAt(640, -32768); });
    for (int y = kTextBottom; y < kWindowHeight; ++y) {
        for (int x : frame.columnsIn(y, kYellow)) {
            EXPECT_TRUE(x >= 630 && x <= 650) << x << "," << y;
        }
    }
    EXPECT_FALSE(frame.columnsIn(0, kYellow).empty());
    EXPECT_EQ(frame.rowsIn(649, kYellow).front(), 0);
}
