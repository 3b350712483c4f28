// The menu table says what steers each picture, and the page redraws a picture only when that
// input moves: so every picture's frame must depend on its steering input and on nothing else.
// Its description says the same in words.
#include "scene_window.h"

#include "common/mouse.h"
#include "menu/descriptions.h"
#include "menu/menu.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

Frame frameAt(const char* answer, std::uint32_t ticks, SDL_Point mouse)
{
    app.choice = answer;
    app.frameTicks = ticks;
    steerMouse(mouse);
    return renderFrame(dispatchScene);
}

// The words the description uses for each steering, in the enum's order.
const char* const kSteeringWords[] = {"obraz nieruchomy", "Steruje zegar", "Steruje mysz"};

}  // namespace

using MenuTable = SceneTest;

TEST_F(MenuTable, EachPictureChangesWithWhatSteersItAndNothingElse)
{
    constexpr std::uint32_t kTicks = 1000;
    constexpr std::uint32_t kLaterTicks = 2000;
    constexpr SDL_Point kMouse{100, 600};
    constexpr SDL_Point kOtherMouse{1270, 400};
    for (const MenuItem& item : kMenuItems) {
        const Frame base = frameAt(item.answer, kTicks, kMouse);
        const Frame moved = frameAt(item.answer, kTicks, kOtherMouse);
        const Frame later = frameAt(item.answer, kLaterTicks, kMouse);
        const int byMouse = moved.differencesIn(base, kWindowWidth, kWindowHeight);
        const int byClock = later.differencesIn(base, kWindowWidth, kWindowHeight);
        EXPECT_EQ(byMouse > 0, item.steering == kSteeredByMouse) << item.line << ": " << byMouse << " pixels";
        EXPECT_EQ(byClock > 0, item.steering == kSteeredByClock) << item.line << ": " << byClock << " pixels";

        const char* description = kPictureDescriptions[&item - kMenuItems];
        for (int steering = kSteeredByNothing; steering <= kSteeredByMouse; ++steering) {
            EXPECT_EQ(std::strstr(description, kSteeringWords[steering]) != nullptr, steering == item.steering)
                << item.line << ": " << description;
        }
    }
    followRealMouse();
}
