// The console dialogue, the dispatch of answers, the cycle of window and frames, and text helpers.
#include "cycle_support.h"
#include "run_command.h"
#include "scene_window.h"

#include "common/app_state.h"
#include "common/fonts.h"
#include "common/mouse.h"
#include "common/text.h"
#include "console/program.h"
#include "pictures/pictures.h"
#include "scenes/scenes.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const std::string kMenu =
    "1 - Funkcje trygonometryczne\n"
    "2 - Odwzorowanie logistyczne\n"
    "3 - Diagram bifurkacyjny odwzorowania logistycznego\n"
    "4 - Funkcja kwadratowa\n"
    "5 - Spirala Ulama\n"
    "6 - Rotacja figury\n"
    "7 - Graficzne przedstawienie sinusa i cosinusa\n"
    "8 - Przesuniecie fazowe\n"
    "9 - Liczby pierwsze graf\n"
    "10 - Obliczony sinus\n"
    "\n"
    "wybor: ";

const std::string kOpened = "Subsystems initialised!\nWindow created!\nRenderer created!\n";

}  // namespace

using MouseScenes = SceneTest;

TEST(Menu, IsPrintedByteForByte)
{
    testing::internal::CaptureStdout();
    printMenu();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), kMenu);
}

TEST(Dispatch, MatchesAnswersExactly)
{
    const struct {
        const char* answer;
        const char* scene;
    } cases[] = {
        {"1", "1"},  {"", "1"},   {"0", "1"},   {"11", "1"},  {"01", "1"},  {"2x", "1"},
        {" 2", "1"}, {"2 ", "1"}, {"-2", "1"},  {"+2", "1"},  {"10", "10"}, {"100", "1"},
        {"2", "2"},  {"3", "3"},  {"4", "4"},   {"5", "5"},   {"6", "6"},   {"7", "7"},
        {"8", "8"},  {"9", "9"},  {"1\r", "1"}, {"Plotnik", "1"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(pictureFor(c.answer).answer, c.scene) << "answer \"" << c.answer << "\"";
    }
    EXPECT_STREQ(pictureFor(std::string("2\0", 2)).answer, "1") << "a NUL byte makes another answer";
}

TEST(Dispatch, PhaseGrowsOneRadianEvery360MillisecondsAndWraps)
{
    const struct {
        std::uint32_t ticks;
        double wrap;
        float expected;
    } cases[] = {
        {0, kTwoPi, 0.0f},
        {360, kTwoPi, 1.0f},
        {720, kSixPi, 2.0f},
        {2262, kTwoPi, 2262.0f / 360.0f - 6.2831853f},  // just past one turn
        {6785, kSixPi, 6785.0f / 360.0f},               // just below three turns
        {6786, kSixPi, 6786.0f / 360.0f - 18.849556f},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(phaseFromTicks(c.ticks, c.wrap), c.expected, 1e-5) << c.ticks;
    }
    for (std::uint32_t ticks : {1u, 1000000u, 16777217u, 2147483648u, 4294967295u}) {
        for (double wrap : {kTwoPi, kSixPi}) {
            const float phase = phaseFromTicks(ticks, wrap);
            EXPECT_GE(phase, 0.0f) << ticks;
            EXPECT_LT(static_cast<double>(phase), wrap + 1e-6) << ticks;
        }
    }
}

// The mouse-steered scenes draw at the pointer whichever way the frame reaches them: the picture
// table's entry given the pointer, and the scene routine given it directly.
TEST_F(MouseScenes, TheTableDrawsAtThePointerItIsGiven)
{
    const struct {
        const char* answer;
        SDL_Point pointer;
        void (*drawAt)(int, int);
        std::uint32_t colour;
        int atLeast;  // pixels of that colour, so the frame is not empty
    } cases[] = {
        {"2", {1100, 200}, drawLogisticMapAt, kWhite, 128},
        {"4", {900, 500}, drawQuadraticAt, rgb(255, 255, 0), 720},
        {"10", {300, -32768}, [](int x, int) { drawComputedSineAt(x); }, kWhite, 900},
    };
    for (const auto& c : cases) {
        const Picture& picture = pictureFor(c.answer);
        const Frame fromTable = renderFrame([&] { picture.draw(FrameInputs{0, c.pointer}); });
        const Frame direct = renderFrame([&c] { c.drawAt(c.pointer.x, c.pointer.y); });
        EXPECT_TRUE(fromTable.pixels == direct.pixels) << "answer " << c.answer;
        EXPECT_GT(direct.count(c.colour), c.atLeast) << "answer " << c.answer;
    }
}

TEST(FormatText, NeverWritesPastItsCapacityAndAlwaysTerminates)
{
    const struct {
        std::size_t capacity;
        const char* expected;
    } cases[] = {{1, ""}, {2, "1"}, {8, "1234567"}, {16, "123456789.50 Hz"}, {32, "123456789.50 Hz"}};
    for (const auto& c : cases) {
        char buffer[40];
        std::memset(buffer, '#', sizeof buffer);
        formatText(buffer, c.capacity, "%.2f Hz", 123456789.5);
        EXPECT_STREQ(buffer, c.expected) << "capacity " << c.capacity;
        for (std::size_t i = c.capacity; i < sizeof buffer; ++i) {
            ASSERT_EQ(buffer[i], '#') << "byte " << i << " written with capacity " << c.capacity;
        }
    }
    char untouched = '#';
    formatText(&untouched, 0, "%i", 7);
    EXPECT_EQ(untouched, '#');
}

TEST(FormatText, FormatsAsPrintfWithAPointForDecimals)
{
    char buffer[128];
    formatText(buffer, sizeof buffer, "a = %.4f | b = %.4f | c = 0", 1.8, -16.0);
    EXPECT_STREQ(buffer, "a = 1.8000 | b = -16.0000 | c = 0");
    formatText(buffer, 16, "%.2f Hz", 19.995000839233398);
    EXPECT_STREQ(buffer, "20.00 Hz");
    formatText(buffer, 32, "precyzja: %i", 10);
    EXPECT_STREQ(buffer, "precyzja: 10");
}

TEST(Cycle, PrintsStatusLinesInOrderAndDrawsTheQuitFrame)
{
    std::istringstream in("1\n");
    Frame last;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(runQuitCycle(in, &last));
    const std::string transcript = testing::internal::GetCapturedStdout();
    // Closing prints nothing more: a piped console gets no clearing sequence.
    EXPECT_EQ(transcript, kMenu + kOpened);
    EXPECT_EQ(app.choice, "1");
    EXPECT_EQ(app.window, nullptr);
    EXPECT_EQ(app.renderer, nullptr);
    EXPECT_EQ(app.largeFont, nullptr);
    // The frame in which the quit event arrived was drawn: the labels stand in the top-left corner.
    EXPECT_GT(last.count(kRed) + last.count(kGreen) + last.count(kBlue), 0);
}

TEST(Cycle, TwoAnswersOnOneLineGiveTwoCyclesThenEndOfInputEndsTheLoop)
{
    std::istringstream in("  2 3\n");
    testing::internal::CaptureStdout();
    ASSERT_TRUE(runQuitCycle(in));
    EXPECT_EQ(app.choice, "2");
    ASSERT_TRUE(runQuitCycle(in));
    EXPECT_EQ(app.choice, "3");
    EXPECT_FALSE(runQuitCycle(in));
    EXPECT_EQ(app.choice, "3");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), kMenu + kOpened + kMenu + kOpened + kMenu);
}

TEST(Cycle, CarriageReturnLineEndsAreWhiteSpace)
{
    std::istringstream in("2\r\n");
    testing::internal::CaptureStdout();
    ASSERT_TRUE(runQuitCycle(in));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(app.choice, "2");
}

TEST(Cycle, AFrameTakesOneEventAtMost)
{
    std::istringstream in("1\n");
    testing::internal::CaptureStdout();
    ASSERT_TRUE(beginCycle(in));
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_Event late{};
    late.type = SDL_USEREVENT;
    SDL_PushEvent(&motion);
    SDL_PushEvent(&motion);
    SDL_PushEvent(&quit);
    SDL_PushEvent(&late);
    runFrameLoop();
    // The loop stopped at the quit event and left the event behind it in the queue.
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_USEREVENT, SDL_USEREVENT), 1);
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_MOUSEMOTION, SDL_MOUSEMOTION), 0);
    endCycle();
    testing::internal::GetCapturedStdout();
}

TEST(Cycle, UnreadableFontIsReportedAndLabelsDrawNothing)
{
    // The working directory's own font is tried first, and an empty one is not passed over.
    const std::string empty = makeTempDir();
    ASSERT_EQ(mkdir((empty + "/Assets").c_str(), 0700), 0);
    std::ofstream(empty + "/Assets/Calibri.ttf");
    WorkingDirectory there(empty);
    std::istringstream in("1\n");  // clock 0 or so: the graphs are nearly empty, the labels remain
    Frame last;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(beginCycle(in));
    const std::string transcript = testing::internal::GetCapturedStdout();
    ASSERT_NE(app.renderer, nullptr);
    last = renderFrame([] {
        app.frameTicks = 0;
        drawFrame(pictureFor(app.choice), FrameInputs{app.frameTicks, readMouse()});
    });
    endCycle();
    std::remove((empty + "/Assets/Calibri.ttf").c_str());
    rmdir((empty + "/Assets").c_str());
    rmdir(empty.c_str());

    EXPECT_EQ(transcript, kMenu + kOpened + "TTF_OpenFont: Couldn't read Assets/Calibri.ttf\n");
    EXPECT_EQ(last.count(kBlack), kWindowWidth * kWindowHeight) << "no label without a font";
}

TEST(Fonts, WithNoFontAnywhereTheReportNamesTheWorkingDirectorysFile)
{
    // Every place is empty (the real last one, the installed Carlito, is there on a test machine).
    const std::string empty = makeTempDir();
    WorkingDirectory there(empty);
    ASSERT_EQ(TTF_Init(), 0) << TTF_GetError();
    testing::internal::CaptureStdout();
    openFonts({"Assets/Calibri.ttf", empty + "/beside/Assets/Calibri.ttf", empty + "/Carlito-Regular.ttf"});
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "TTF_OpenFont: Couldn't open Assets/Calibri.ttf\n");
    EXPECT_EQ(app.largeFont, nullptr);
    EXPECT_EQ(app.smallFont, nullptr);
    closeFonts();
    TTF_Quit();
    rmdir(empty.c_str());
}

TEST(Cycle, FailedMediaLibraryIsReportedAndNoWindowOpens)
{
    const char* previous = std::getenv("SDL_VIDEODRIVER");
    const std::string saved = previous != nullptr ? previous : "";
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    std::istringstream in("4\n");
    testing::internal::CaptureStdout();
    ASSERT_TRUE(beginCycle(in));
    EXPECT_FALSE(app.running);
    runFrameLoop();
    endCycle();
    const std::string transcript = testing::internal::GetCapturedStdout();
    setenv("SDL_VIDEODRIVER", saved.c_str(), 1);

    const std::string prefix = kMenu + "SDL_Init: ";
    ASSERT_EQ(transcript.compare(0, prefix.size(), prefix), 0) << transcript;
    EXPECT_GT(transcript.size(), prefix.size() + 1) << "the error text follows";
    EXPECT_EQ(transcript.find('\n', prefix.size()), transcript.size() - 1) << transcript;
    EXPECT_EQ(app.window, nullptr);
}

TEST(Program, EndOfInputEndsWithStatusZero)
{
    const std::string plotnik = plotnikPath();
    ASSERT_FALSE(plotnik.empty());
    const struct {
        const char* input;
        std::string output;
    } cases[] = {
        {"", kMenu},
        {"   \n\t \n", kMenu},
    };
    for (const auto& c : cases) {
        const CommandResult run = runCommand({plotnik}, c.input, ".");
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, c.output);
    }
}
