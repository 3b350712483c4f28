// Whatever is typed, whatever the font file holds, however many windows are opened: the program
// neither crashes nor leaks, and always ends when told to.
#include "cycle_support.h"
#include "run_command.h"
#include "scene_window.h"

#include "common/app_state.h"
#include "common/mouse.h"
#include "console/program.h"
#include "pictures/pictures.h"
#include "scenes/scenes.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

const char* const kAnswers[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};

// Resident memory of this process in bytes.
long residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

}  // namespace

TEST(HostileInput, EveryTokenIsReadWholeAndMatchedExactly)
{
    const std::string huge(1 << 20, '7');
    const struct {
        std::string input;
        std::string choice;  // what the answer reads as
        const char* scene;
    } cases[] = {
        {huge + "\n", huge, "1"},
        {std::string("2\0003\n", 4), std::string("2\0003", 3), "1"},
        {std::string("\0\n", 2), std::string("\0", 1), "1"},
        {"\xff\xfe\xc3\x28\n", "\xff\xfe\xc3\x28", "1"},
        {"2\r\n", "2", "2"},
        {"\r\n\r\n10\r\n", "10", "10"},
        {"\t\v\f 9", "9", "9"},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.input);
        testing::internal::CaptureStdout();
        const bool cycled = runQuitCycle(in);
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(cycled);
        EXPECT_TRUE(app.choice == c.choice) << "read " << app.choice.size() << " bytes";
        EXPECT_STREQ(pictureFor(app.choice).answer, c.scene);
    }
}

TEST(HostileInput, BlanksOrNothingEndTheProgramWithStatusZero)
{
    const std::string plotnik = plotnikPath();
    for (const std::string& input :
         {std::string(), std::string(" "), std::string("\n\n\n"), std::string("\r\n\t \v"), std::string(100000, ' ')}) {
        const CommandResult run = runCommand({plotnik}, input, ".");
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out.find("Subsystems"), std::string::npos) << "no window without an answer";
        EXPECT_EQ(run.out.size() - run.out.rfind("wybor: "), 7u) << "ends at the prompt";
    }
}

TEST(LongRun, TwoHundredWindowsHoldNoMoreMemoryThanTen)
{
    std::string answers;
    for (int i = 0; i < 200; ++i) {
        answers += std::string(kAnswers[i % 10]) + "\n";
    }
    std::istringstream in(answers);
    testing::internal::CaptureStdout();
    long afterTen = 0;
    int cycles = 0;
    while (runQuitCycle(in)) {
        ++cycles;
        ASSERT_EQ(app.window, nullptr);
        ASSERT_EQ(app.renderer, nullptr);
        ASSERT_EQ(app.smallFont, nullptr);
        ASSERT_EQ(app.largeFont, nullptr);
        ASSERT_EQ(SDL_WasInit(0), 0u) << "the media library is shut down after every cycle";
        if (cycles == 10) {
            afterTen = residentBytes();
        }
    }
    const long afterAll = residentBytes();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(cycles, 200);
#if defined(__SANITIZE_ADDRESS__)
    (void)afterTen;
    (void)afterAll;  // the address sanitizer's quarantine holds freed memory; its leak check runs at exit
#else
    EXPECT_LT(afterAll - afterTen, 5L * 1024 * 1024) << "cycle 10: " << afterTen << ", cycle 200: " << afterAll;
#endif
}

TEST(BrokenFont, LabelsAreLeftOutAndEverySceneIsStillDrawn)
{
    // A font in the working directory is the one tried, however broken: nothing else is looked for.
    const struct {
        const char* what;
        std::string bytes;  // empty with directory: a directory stands where the font should be
        bool directory;
    } cases[] = {
        {"empty", "", false},
        {"random bytes", std::string("\x13\x57\x9b\xdf\x02\x46\x8a\xce", 8) + std::string(5000, '\xa5'), false},
        {"truncated font header", std::string("\x00\x01\x00\x00\x00\x0c", 6), false},
        {"directory", "", true},
    };
    for (const auto& c : cases) {
        const std::string dir = makeTempDir();
        ASSERT_EQ(mkdir((dir + "/Assets").c_str(), 0700), 0);
        const std::string font = dir + "/Assets/Calibri.ttf";
        if (c.directory) {
            ASSERT_EQ(mkdir(font.c_str(), 0700), 0);
        } else {
            std::ofstream(font, std::ios::binary) << c.bytes;
        }
        WorkingDirectory there(dir);
        for (const char* answer : kAnswers) {
            std::istringstream in(std::string(answer) + "\n");
            testing::internal::CaptureStdout();
            ASSERT_TRUE(beginCycle(in));
            const std::string transcript = testing::internal::GetCapturedStdout();
            EXPECT_NE(transcript.find("\nTTF_OpenFont: "), std::string::npos) << c.what;
            EXPECT_EQ(app.largeFont, nullptr);
            EXPECT_EQ(app.smallFont, nullptr);
            ASSERT_NE(app.renderer, nullptr);
            app.frameTicks = 1000;
            testing::internal::CaptureStdout();
            const Frame frame = renderFrame([] {
                drawFrame(pictureFor(app.choice), FrameInputs{app.frameTicks, readMouse()});
            });
            testing::internal::GetCapturedStdout();
            EXPECT_LT(frame.count(kBlack), kWindowWidth * kWindowHeight) << c.what << ", answer " << answer;
            endCycle();
        }
        std::remove(font.c_str());
        rmdir(font.c_str());
        rmdir((dir + "/Assets").c_str());
        rmdir(dir.c_str());
    }
}

TEST(QuitWhileTheSpiralFillsItsCache, TakesEffectOnALaterFrameAndTheWindowCloses)
{
    forgetPrimeCache();
    std::istringstream in("5\n");
    testing::internal::CaptureStdout();
    ASSERT_TRUE(beginCycle(in));
    // The first frame takes another event and fills the cache; the user's close is queued behind
    // it, as when it arrives while that frame computes.
    SDL_Event wake{};
    wake.type = SDL_USEREVENT;
    SDL_PushEvent(&wake);
    pushQuit();
    runFrameLoop();
    endCycle();
    const std::string transcript = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(primeCacheReady);
    std::size_t frames = 0;
    for (std::size_t at = transcript.find("Prosze czekac..."); at != std::string::npos;
         at = transcript.find("Prosze czekac...", at + 1)) {
        ++frames;
    }
    EXPECT_GE(frames, 2u) << "the computing frame and at least the frame that took the quit";
}
