// The picture table says what steers each picture, and the page redraws a picture only when that
// input moves: so every picture's frame must depend on its steering input and on nothing else.
// Its description says the same in words. Every front end draws its frames through drawFrame.
#include "scene_window.h"

#include "menu/menu.h"
#include "scenes/scenes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

Frame frameAt(const Picture& picture, std::uint32_t ticks, SDL_Point mouse)
{
    SDL_SetRenderDrawColor(app.renderer, 12, 34, 56, 255);  // whatever colour the last frame left
    SDL_RenderClear(app.renderer);
    drawFrame(picture, FrameInputs{ticks, mouse});
    return readFrame();
}

// The words the description uses for each steering, in the enum's order.
const char* const kSteeringWords[] = {"obraz nieruchomy", "Steruje zegar", "Steruje mysz"};

}  // namespace

using PictureTable = SceneTest;

TEST_F(PictureTable, EachPictureChangesWithWhatSteersItAndNothingElse)
{
    constexpr std::uint32_t kTicks = 1000;
    constexpr std::uint32_t kLaterTicks = 2000;
    constexpr SDL_Point kMouse{100, 600};
    constexpr SDL_Point kOtherMouse{1270, 400};
    for (const Picture& picture : kPictures) {
        const Frame base = frameAt(picture, kTicks, kMouse);
        const Frame moved = frameAt(picture, kTicks, kOtherMouse);
        const Frame later = frameAt(picture, kLaterTicks, kMouse);
        const int byMouse = moved.differencesIn(base, kWindowWidth, kWindowHeight);
        const int byClock = later.differencesIn(base, kWindowWidth, kWindowHeight);
        EXPECT_EQ(byMouse > 0, picture.steering == kSteeredByMouse) << picture.line << ": " << byMouse << " pixels";
        EXPECT_EQ(byClock > 0, picture.steering == kSteeredByClock) << picture.line << ": " << byClock << " pixels";

        for (int steering = kSteeredByNothing; steering <= kSteeredByMouse; ++steering) {
            EXPECT_EQ(std::strstr(picture.description, kSteeringWords[steering]) != nullptr,
                      steering == picture.steering)
                << picture.line << ": " << picture.description;
        }
    }
}

// The frame drawn as the scene routine of the dispatch table draws it, for every picture: the
// table's entry passes the clock and the pointer on as the routine would take them itself.
TEST_F(PictureTable, EveryEntryDrawsWhatItsSceneRoutineDraws)
{
    const FrameInputs inputs{2345, {700, 100}};
    const struct {
        const char* answer;
        void (*scene)();
    } cases[] = {
        {"1", [] { drawTrigFunctionsAt(2345); }},
        {"2", [] { drawLogisticMapAt(700, 100); }},
        {"3", drawBifurcation},
        {"4", [] { drawQuadraticAt(700, 100); }},
        {"5", drawUlamSpiral},
        {"6", [] { drawRotation(phaseFromTicks(2345, kTwoPi)); }},
        {"7", [] { drawSineCosine(phaseFromTicks(2345, kSixPi)); }},
        {"8", [] { drawPhaseShift(phaseFromTicks(2345, kSixPi)); }},
        {"9", drawPrimeGraph},
        {"10", [] { drawComputedSineAt(700); }},
    };
    ASSERT_EQ(std::size(cases), static_cast<std::size_t>(kPictureCount));
    for (const auto& c : cases) {
        const Picture& picture = pictureFor(c.answer);
        ASSERT_STREQ(picture.answer, c.answer);
        testing::internal::CaptureStdout();  // the spiral's console line
        const Frame fromTable = frameAt(picture, inputs.ticks, inputs.mouse);
        const Frame direct = renderFrame(c.scene);
        testing::internal::GetCapturedStdout();
        EXPECT_TRUE(fromTable.pixels == direct.pixels) << picture.line;
    }
}

// The page clears its frame with one fill of the memory the renderer draws into: the same frame
// as the renderer's own clear, whatever the memory held.
TEST_F(PictureTable, ClearingTheFramesMemoryDrawsTheSameFrame)
{
    SDL_Surface* memory = SDL_GetWindowSurface(app.window);
    ASSERT_NE(memory, nullptr) << SDL_GetError();
    ASSERT_EQ(memory->format->BytesPerPixel, 4);
    for (const char* answer : {"4", "7", "9"}) {
        const Picture& picture = pictureFor(answer);
        const FrameInputs inputs{3000, {900, 200}};
        const Frame cleared = frameAt(picture, inputs.ticks, inputs.mouse);
        frameAt(pictureFor("3"), 0, {0, 0});  // another picture's pixels in the memory
        drawFrame(picture, inputs, memory);
        EXPECT_TRUE(readFrame().pixels == cleared.pixels) << picture.line;
    }
}
