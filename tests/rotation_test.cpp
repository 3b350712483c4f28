// The turned rectangle: its outline must be exactly the four edges between the expected corners.
#include "scene_window.h"

#include "common/text.h"
#include "scenes/scenes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Pixels where the two frames differ, with the first few spelled out for the failure message.
int differences(const Frame& actual, const Frame& expected, std::string& where)
{
    int n = 0;
    for (int y = 0; y < kWindowHeight; ++y) {
        for (int x = 0; x < kWindowWidth; ++x) {
            if (actual.at(x, y) != expected.at(x, y)) {
                if (++n <= 5) {
                    char text[64];
                    std::snprintf(text, sizeof text, " (%d, %d): %06x not %06x", x, y, actual.at(x, y),
                                  expected.at(x, y));
                    where += text;
                }
            }
        }
    }
    return n;
}

// The title and the four white edges 1-2, 2-3, 3-4, 4-1, drawn straight from the given corners.
Frame outlineThrough(const SDL_Point (&corners)[4])
{
    return renderFrame([&] {
        drawLabel(app.smallFont, "Rotacja", {255, 255, 255, 0}, 12, 12);
        SDL_SetRenderDrawColor(app.renderer, 255, 255, 255, 255);
        for (int i = 0; i < 4; ++i) {
            const SDL_Point& a = corners[i];
            const SDL_Point& b = corners[(i + 1) % 4];
            SDL_RenderDrawLine(app.renderer, a.x, a.y, b.x, b.y);
        }
    });
}

}  // namespace

using Rotation = SceneTest;

TEST_F(Rotation, OutlineRunsThroughTheTruncatedCorners)
{
    const struct {
        float phase;
        SDL_Point corners[4];
        const char* why;
    } cases[] = {
        {0.0f, {{540, 310}, {740, 310}, {740, 410}, {540, 410}}, "lying, 200 wide and 100 high"},
        {1.5707964f, {{690, 260}, {690, 460}, {590, 460}, {590, 260}}, "upright at pi/2"},
        {1.0f, {{628, 248}, {736, 417}, {651, 471}, {543, 302}}, "one radian, turned clockwise"},
        {3.1415927f, {{740, 410}, {540, 410}, {540, 310}, {740, 310}}, "half a turn: corners swap roles"},
        {6.2822f, {{539, 310}, {739, 309}, {740, 409}, {540, 410}}, "just below a turn: one pixel off"},
    };
    for (const auto& c : cases) {
        const Frame drawn = renderFrame([&] { drawRotation(c.phase); });
        const Frame expected = outlineThrough(c.corners);
        std::string where;
        EXPECT_EQ(differences(drawn, expected, where), 0) << "phase " << c.phase << ", " << c.why << ":" << where;
    }
}
