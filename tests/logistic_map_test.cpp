// The logistic sequence: its points for chosen start values and rates, its readout, and mouse
// positions far outside the window.
#include "scene_window.h"

#include "common/text.h"
#include "scenes/scenes.h"

#include <vector>

namespace {

constexpr int kTextBottom = 70;  // title and readout stay above this row

// The rows of column x below the text that are white.
std::vector<int> pointRows(const Frame& frame, int x)
{
    std::vector<int> rows;
    for (int y : frame.rowsIn(x, kWhite)) {
        if (y >= kTextBottom) {
            rows.push_back(y);
        }
    }
    return rows;
}

// Pixels of the text corner that differ from the title and readout drawn on their own.
int labelDifferences(const Frame& scene, const char* readout)
{
    const SDL_Color white{255, 255, 255, 0};
    const Frame expected = renderFrame([&] {
        drawLabel(app.smallFont, "Odwzorowanie logistyczne", white, 12, 12);
        drawLabel(app.largeFont, readout, white, 12, 28);
    });
    return scene.differencesIn(expected, kWindowWidth, kTextBottom);
}

}  // namespace

class LogisticMapTest : public SceneTest {};

// x0 = 1 - my / 720 in column 0, then one term every tenth column and nothing between. 0.5 is
// the fixed point at rate 2 (row 310); a start value of 1 or a rate of 0 sends every later term
// to 0 (row 360). Rows are truncated: 360 - 1.389 = 358.61 is row 358.
TEST_F(LogisticMapTest, FirstPointThenTheRest)
{
    struct Case {
        int mx, my, firstRow, restRow;
    };
    const Case cases[] = {{640, 360, 310, 310}, {0, 0, 260, 360},   {640, 0, 260, 360},
                          {1279, 0, 260, 360},  {0, 360, 310, 360}, {0, 500, 329, 360},
                          {0, 710, 358, 360},   {0, 719, 359, 360}, {30000, 0, 260, 360}};
    for (const Case& c : cases) {
        const Frame frame = renderFrame([&] { drawLogisticMapAt(c.mx, c.my); });
        for (int x = 0; x < kWindowWidth; ++x) {
            const int row = x == 0 ? c.firstRow : c.restRow;
            const std::vector<int> expected =
                x % 10 != 0 ? std::vector<int>{} : std::vector<int>{row};
            EXPECT_EQ(pointRows(frame, x), expected) << c.mx << "," << c.my << " column " << x;
        }
    }
}

// Inside the window x0 is in (0, 1] and k in [0, 4): every term stays in [0, 1], one point in
// every tenth column, rows 260 to 360, chaotic rates included.
TEST_F(LogisticMapTest, InsideTheWindowTermsStayBetweenZeroAndOne)
{
    for (const int mx : {1, 900, 1150, 1230, 1279}) {
        for (const int my : {1, 300, 719}) {
            const Frame frame = renderFrame([&] { drawLogisticMapAt(mx, my); });
            for (int x = 0; x < kWindowWidth; x += 10) {
                const std::vector<int> rows = pointRows(frame, x);
                ASSERT_EQ(rows.size(), 1u) << mx << "," << my << " column " << x;
                EXPECT_TRUE(rows[0] >= 260 && rows[0] <= 360) << mx << "," << my << " column " << x;
            }
        }
    }
}

// At rate 3.2 (column 1024) the sequence settles on the 2-cycle (4.2 +- sqrt(0.84)) / 6.4,
// about 0.7995 and 0.5130: rows 280 and 308 in turn.
TEST_F(LogisticMapTest, TwoCycleAtRate3Point2)
{
    const Frame frame = renderFrame([] { drawLogisticMapAt(1024, 360); });
    const int lastRow = pointRows(frame, 1270).at(0);
    EXPECT_TRUE(lastRow == 280 || lastRow == 308) << lastRow;
    for (int x = 1270; x >= 1000; x -= 10) {
        const int expected = ((1270 - x) / 10) % 2 == 0 ? lastRow : 588 - lastRow;
        EXPECT_EQ(pointRows(frame, x), std::vector<int>{expected}) << "column " << x;
    }
}

// The readout, and what is left to see where the sequence runs off to infinity (rates far
// beyond 4): nothing, as long as no cast of an infinite row happens.
TEST_F(LogisticMapTest, ReadoutAndPointsAnywhere)
{
    struct Case {
        int mx, my;
        const char* readout;
        int points;  // white pixels below the text
    };
    const Case cases[] = {
        {640, 360, "x0 = 0.5000 | k = 2.0000", 128},
        {0, 0, "x0 = 1.0000 | k = 0.0000", 128},
        {1279, 719, "x0 = 0.0014 | k = 3.9969", 128},
        {-32768, -32768, "x0 = 46.5111 | k = -102.4000", 0},
        {32767, 32767, "x0 = -44.5097 | k = 102.3969", 0},
        {32767, -32768, "x0 = 46.5111 | k = 102.3969", 0},
        {-32768, 32767, "x0 = -44.5097 | k = -102.4000", 0},
        {640, -32768, "x0 = 46.5111 | k = 2.0000", 0},
        {0, 32767, "x0 = -44.5097 | k = 0.0000", 127},
        {30000, 0, "x0 = 1.0000 | k = 93.7500", 128},
    };
    for (const Case& c : cases) {
        const Frame frame = renderFrame([&] { drawLogisticMapAt(c.mx, c.my); });
        EXPECT_EQ(labelDifferences(frame, c.readout), 0) << c.readout;
        int points = 0;
        for (int x = 0; x < kWindowWidth; ++x) {
            points += static_cast<int>(pointRows(frame, x).size());
        }
        EXPECT_EQ(points, c.points) << c.mx << "," << c.my;
    }
}
