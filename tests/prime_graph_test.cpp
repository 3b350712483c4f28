// The prime numbers graph: divisor points, the bars and running count of the numbers that pass.
#include "scene_window.h"

#include "scenes/scenes.h"

#include <vector>

namespace {

constexpr std::uint32_t kDarkRed = rgb(64, 0, 0);

bool passes(int e)  // 1 passes like the primes
{
    for (int j = 2; j * j <= e; ++j) {
        if (e % j == 0) {
            return false;
        }
    }
    return true;
}

class PrimeGraphTest : public SceneTest {};

TEST_F(PrimeGraphTest, FirstFourColumns)
{
    const Frame frame = renderFrame(drawPrimeGraph);
    const struct { int x; std::vector<int> white, blue, darkRed; } columns[] = {
        {0, {201}, {200}, {}},
        {1, {201, 202}, {}, {200}},  // the blue point of the count 2 lies under row 201's white
        {2, {201, 203}, {202}, {200}},
        {3, {201, 202, 204}, {}, {}},
    };
    for (const auto& column : columns) {
        EXPECT_EQ(frame.rowsIn(column.x, kWhite), column.white) << "column " << column.x;
        EXPECT_EQ(frame.rowsIn(column.x, kBlue), column.blue) << "column " << column.x;
        EXPECT_EQ(frame.rowsIn(column.x, kDarkRed), column.darkRed) << "column " << column.x;
    }
}

// Below the title every pixel follows from e = x + 1: white where row - 200 divides e, else blue on
// the running count, else dark red on the bar of a passing e, else black.
TEST_F(PrimeGraphTest, ChartFollowsTheDivisorsOfEveryColumn)
{
    const Frame frame = renderFrame(drawPrimeGraph);
    int count = 0;
    for (int x = 0; x < kWindowWidth; ++x) {
        const int e = x + 1;
        count += passes(e) ? 1 : 0;
        for (int y = 100; y < kWindowHeight; ++y) {
            const int d = y - 200;
            std::uint32_t expected = kBlack;
            if (d >= 1 && d <= 500 && e % d == 0) {
                expected = kWhite;
            } else if (passes(e) && y == 199 + count) {
                expected = kBlue;
            } else if (passes(e) && y >= 200 && y <= x + 200) {
                expected = kDarkRed;
            }
            ASSERT_EQ(frame.at(x, y), expected) << "(" << x << ", " << y << ")";
        }
    }
    EXPECT_EQ(count, 208);
    EXPECT_EQ(frame.columnsIn(201, kWhite).size(), 1280u);
    EXPECT_EQ(frame.count(kBlue), 207);  // 208 blue points, one under a white one
    EXPECT_EQ(frame.rowsIn(1278, kBlue), std::vector<int>{407});
    EXPECT_EQ(frame.columnsIn(719, kDarkRed).size(), 110u);  // bars cut off by the window's bottom
}

}  // namespace
