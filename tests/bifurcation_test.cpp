// The bifurcation diagram: its reference columns, its point count and its agreement with a plain
// column-by-column computation.
#include "scene_window.h"

#include "common/mouse.h"
#include "pictures/pictures.h"
#include "scenes/scenes.h"

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

namespace {

constexpr int kTitleBottom = 40;  // the title stays above this row, the diagram below it

// The white rows of column x below the title.
std::vector<int> diagramRows(const Frame& frame, int x)
{
    std::vector<int> rows = frame.rowsIn(x, kWhite);
    const auto inTitle = [](int y) { return y < kTitleBottom; };
    rows.erase(std::remove_if(rows.begin(), rows.end(), inTitle), rows.end());
    return rows;
}

}  // namespace

class BifurcationTest : public SceneTest {};

// Rates -2, 0, 1, 2 and 3: a 2-cycle pinned at 1.5, zero, a slow decay towards 0, the fixed
// point 0.5, and the slowly settling oscillation about 2/3.
TEST_F(BifurcationTest, ReferenceColumns)
{
    struct Case {
        int column;
        std::vector<int> rows;
    };
    const Case cases[] = {
        {40, {50}}, {440, {500}}, {640, {498, 499}}, {840, {350}}, {1040, {295, 296, 303, 304}}};
    app.choice = "3";
    const Frame frame =
        renderFrame([] { drawFrame(pictureFor(app.choice), FrameInputs{app.frameTicks, readMouse()}); });
    for (const Case& c : cases) {
        EXPECT_EQ(diagramRows(frame, c.column), c.rows) << "column " << c.column;
    }
}

// Terms x(257) to x(511): 255 points in every column from 40 to 1239, none elsewhere, all within
// rows 50 to 649, and the frame shows exactly these points below the title.
TEST_F(BifurcationTest, PointsOfAFrame)
{
    const std::vector<SDL_Point> points = bifurcationPoints();
    EXPECT_EQ(points.size(), 306000u);
    std::vector<int> perColumn(kWindowWidth, 0);
    std::set<std::pair<int, int>> pixels;
    for (const SDL_Point& p : points) {
        ASSERT_TRUE(p.x >= 40 && p.x <= 1239 && p.y >= 50 && p.y <= 649) << p.x << "," << p.y;
        ++perColumn[static_cast<std::size_t>(p.x)];
        pixels.insert({p.x, p.y});
    }
    for (int x = 40; x <= 1239; ++x) {
        EXPECT_EQ(perColumn[static_cast<std::size_t>(x)], 255) << "column " << x;
    }

    const Frame frame = renderFrame(drawBifurcation);
    std::set<std::pair<int, int>> white;
    for (int y = kTitleBottom; y < kWindowHeight; ++y) {
        for (int x : frame.columnsIn(y, kWhite)) {
            white.insert({x, y});
        }
    }
    EXPECT_EQ(white, pixels);
    EXPECT_EQ(renderFrame(drawBifurcation).pixels, frame.pixels) << "a second frame differs";
}

// Each column on its own, straight from the definition: start at 0.5, draw x(n) for n > 256
// before the step, x <- (r x)(1 - x). The diagram must give every column the same rows.
TEST_F(BifurcationTest, SameRowsAsOneColumnAtATime)
{
    std::vector<std::vector<int>> rowsByColumn(kWindowWidth);
    for (const SDL_Point& p : bifurcationPoints()) {
        rowsByColumn.at(static_cast<std::size_t>(p.x)).push_back(p.y);
    }
    for (int i = 0; i < 1200; ++i) {
        const float r = static_cast<float>(i) / 200.0f - 2.0f;
        float x = 0.5f;
        std::vector<int> expected;
        for (int n = 0; n < 512; ++n) {
            if (n > 256) {
                expected.push_back(static_cast<int>(500.0f - x * 300.0f));
            }
            x = (r * x) * (1.0f - x);
        }
        std::vector<int>& rows = rowsByColumn[static_cast<std::size_t>(i + 40)];
        std::sort(rows.begin(), rows.end());
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(rows, expected) << "column " << i + 40;
    }
}
