// The Ulam spiral: where the walk puts the numbers, which are white, and the cache kept for the run.
#include "scene_window.h"

#include "scenes/scenes.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kBackground = kRed;  // the spiral paints every pixel it visits, black ones too
constexpr int kLeftOfSpiral = 200;           // right of the title, left of the spiral

Frame renderOnRed()
{
    SDL_SetRenderDrawColor(app.renderer, 255, 0, 0, 255);
    SDL_RenderClear(app.renderer);
    drawUlamSpiral();
    SDL_RenderPresent(app.renderer);
    return readFrame();
}

bool isPrime(int n)  // trial division up to the square root
{
    for (int j = 2; j * j <= n; ++j) {
        if (n % j == 0) {
            return false;
        }
    }
    return n >= 2;
}

class UlamSpiralTest : public SceneTest {};

TEST_F(UlamSpiralTest, FirstElevenNumbers)
{
    forgetPrimeCache();
    const Frame frame = renderOnRed();
    const struct { int n, x, y; std::uint32_t colour; } numbers[] = {
        {1, 640, 360, kBlack}, {2, 641, 360, kWhite}, {3, 641, 359, kWhite}, {4, 640, 359, kBlack},
        {5, 639, 359, kWhite}, {6, 639, 360, kBlack}, {7, 639, 361, kWhite}, {8, 640, 361, kBlack},
        {9, 641, 361, kBlack}, {10, 642, 361, kBlack}, {11, 642, 360, kWhite},
    };
    for (const auto& number : numbers) {
        EXPECT_EQ(frame.at(number.x, number.y), number.colour) << "n = " << number.n;
    }
}

TEST_F(UlamSpiralTest, CoversItsSquareOnceWithThePrimesWhite)
{
    const Frame frame = renderOnRed();
    int visited = 0, white = 0, left = kWindowWidth, right = 0, top = kWindowHeight, bottom = 0;
    for (int y = 0; y < kWindowHeight; ++y) {
        for (int x = kLeftOfSpiral; x < kWindowWidth; ++x) {
            if (frame.at(x, y) != kBackground) {
                ++visited;
                white += frame.at(x, y) == kWhite ? 1 : 0;
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    }
    EXPECT_EQ(visited, kSpiralNumbers);
    EXPECT_EQ(white, 41538);  // the primes up to 500000
    EXPECT_EQ(left, 287);
    EXPECT_EQ(right, 994);
    EXPECT_EQ(top, 7);
    EXPECT_EQ(bottom, 713);
    // The walk climbs column 994 at its end: 499979, the last prime, then black up to 500000.
    EXPECT_EQ(frame.at(994, 584), kWhite);
    EXPECT_EQ(frame.rowsIn(994, kBlack).front(), 563);
    EXPECT_EQ(frame.at(994, 562), kBackground);
}

TEST_F(UlamSpiralTest, CacheHoldsThePrimesAfterTheFirstFrame)
{
    forgetPrimeCache();
    renderFrame(drawUlamSpiral);
    ASSERT_TRUE(primeCacheReady);
    for (int n = 1; n <= kSpiralNumbers; ++n) {
        ASSERT_EQ(primeCache[n - 1], isPrime(n) ? 1 : 0) << "n = " << n;
    }
}

// Marks in the cache that the scene would never compute show up only when later frames read it.
TEST_F(UlamSpiralTest, LaterFramesAndWindowsReadTheCache)
{
    forgetPrimeCache();
    const Frame computed = renderFrame(drawUlamSpiral);
    EXPECT_EQ(renderFrame(drawUlamSpiral).pixels, computed.pixels);

    primeCache[4 - 1] = 1;
    closeSceneWindow();
    openSceneWindow();
    EXPECT_EQ(renderFrame(drawUlamSpiral).at(640, 359), kWhite);
    primeCache[500000 - 1] = 1;
    EXPECT_EQ(renderFrame(drawUlamSpiral).at(994, 563), kWhite);

    primeCache[4 - 1] = 0, primeCache[500000 - 1] = 0;
    EXPECT_EQ(renderFrame(drawUlamSpiral).pixels, computed.pixels);
}

TEST_F(UlamSpiralTest, OneConsoleLinePerFrame)
{
    forgetPrimeCache();
    for (int frames = 1; frames <= 2; ++frames) {  // the computing frame, then a reading one
        testing::internal::CaptureStdout();
        renderFrame(drawUlamSpiral);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Prosze czekac...\n") << "frame " << frames;
    }
}

}  // namespace
