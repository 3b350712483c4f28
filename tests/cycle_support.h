// Test support: cycles of the main loop run headless, with the user's close already queued, and
// a working directory changed for the length of a test.
#pragma once

#include "scene_window.h"

#include "console/program.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <istream>
#include <string>

inline void pushQuit()
{
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

// A cycle whose window is closed by the user at once: the quit event waits in the queue when the
// frames start, so exactly one frame is drawn; lastFrame, when given, receives it. False at end
// of input.
inline bool runQuitCycle(std::istream& in, Frame* lastFrame = nullptr)
{
    if (!beginCycle(in)) {
        return false;
    }
    pushQuit();
    runFrameLoop();
    if (lastFrame != nullptr && app.renderer != nullptr) {
        *lastFrame = readFrame();
    }
    endCycle();
    return true;
}

// Runs in another working directory for the length of one test.
struct WorkingDirectory {
    std::string previous;
    explicit WorkingDirectory(const std::string& dir)
    {
        char here[4096];
        previous = getcwd(here, sizeof here) != nullptr ? here : ".";
        EXPECT_EQ(chdir(dir.c_str()), 0);
    }
    ~WorkingDirectory() { EXPECT_EQ(chdir(previous.c_str()), 0); }
};
