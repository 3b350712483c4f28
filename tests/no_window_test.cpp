// A media library that starts but can make no window (here its own window function, as the
// console calls it, fails): the console says so in one line, runs no frames, and the menu comes
// back for the next answer.
#include "cycle_support.h"

#include "pictures/pictures.h"

#include <SDL.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

bool windowsFail = false;

std::string menuText()
{
    std::string text;
    for (const Picture& picture : kPictures) {
        text += std::string(picture.line) + "\n";
    }
    return text + "\nwybor: ";
}

}  // namespace

// Calls from the program reach this first; it hands them to the library unless windows are to fail.
extern "C" SDL_Window* SDL_CreateWindow(const char* title, int x, int y, int w, int h, Uint32 flags)
{
    using Create = SDL_Window* (*)(const char*, int, int, int, int, Uint32);
    static const auto library = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "SDL_CreateWindow"));
    if (windowsFail) {
        SDL_SetError("no window on this screen");
        return nullptr;
    }
    return library(title, x, y, w, h, flags);
}

TEST(Cycle, AWindowThatCannotBeMadeIsToldInOneLineAndTheMenuComesBack)
{
    std::istringstream in("4\n7\n");
    testing::internal::CaptureStdout();
    windowsFail = true;
    ASSERT_TRUE(beginCycle(in));
    EXPECT_FALSE(app.running) << "no frames without a window";
    if (app.running) {
        pushQuit();  // a loop with no window to close would run for ever
    }
    runFrameLoop();
    endCycle();
    EXPECT_EQ(app.window, nullptr);
    EXPECT_EQ(app.renderer, nullptr);
    windowsFail = false;
    ASSERT_TRUE(runQuitCycle(in)) << "the next answer opens its window";
    const std::string transcript = testing::internal::GetCapturedStdout();
    EXPECT_EQ(transcript, menuText() + "Subsystems initialised!\nNie udało się otworzyć okna: no window on this screen\n" +
                              menuText() + "Subsystems initialised!\nWindow created!\nRenderer created!\n");
}
