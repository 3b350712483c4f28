// The prime numbers graph: divisor points, the bars and running count of the numbers that pass.
#include "scene_window.h"

#include "scenes/scenes.h"

#include <vector>

namespace {

constexpr std::uint32_t kDarkRed = rgb(64, 0, 0);

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

TEST_F(PrimeGraphTest, WholeChart)
{
    const Frame frame = renderFrame(drawPrimeGraph);
    EXPECT_EQ(frame.columnsIn(201, kWhite).size(), 1280u);
    EXPECT_EQ(frame.count(kBlue), 207);  // 1 and the 207 primes up to 1280, one under a white point
    EXPECT_EQ(frame.rowsIn(1278, kBlue), std::vector<int>{407});
    EXPECT_EQ(frame.columnsIn(719, kDarkRed).size(), 110u);  // the bars of the primes 521 to 1279
    EXPECT_EQ(frame.rowsIn(1278, kWhite), std::vector<int>{201});  // 1279 is prime and above 500
}

}  // namespace
