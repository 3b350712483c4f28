// The window's keys: which key does what, the frame fitted to any screen and the pointer mapped
// back, a frame saved to a file that is never overwritten, and whole cycles driven by key events
// in a headless window.
#include "cycle_support.h"
#include "run_command.h"
#include "scene_window.h"

#include "common/files.h"
#include "common/frame_on_screen.h"
#include "common/picture_file.h"
#include "console/program.h"
#include "console/saved_frame.h"
#include "menu/lesson.h"
#include "menu/menu.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <regex>
#include <sstream>
#include <string>

namespace {

SDL_Keysym keysym(SDL_Keycode sym, Uint16 mod = KMOD_NONE)
{
    SDL_Keysym key{};
    key.sym = sym;
    key.mod = mod;
    return key;
}

void pushKey(SDL_Keycode sym, Uint16 mod = KMOD_NONE, bool repeated = false)
{
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.repeat = repeated ? 1 : 0;
    event.key.keysym = keysym(sym, mod);
    SDL_PushEvent(&event);
}

// The frame as drawFrame draws it at these inputs, read back from the headless renderer.
Frame expectedFrame(const char* answer, const FrameInputs& inputs)
{
    drawFrame(pictureFor(answer), inputs);
    return readFrame();
}

// A PNG file's pixels, as Frame keeps them.
Frame pictureFromFile(const std::string& path)
{
    Frame frame;
    SDL_Surface* loaded = IMG_Load(path.c_str());
    EXPECT_NE(loaded, nullptr) << path << ": " << IMG_GetError();
    if (loaded == nullptr) {
        return frame;
    }
    SDL_Surface* pixels = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0);
    SDL_FreeSurface(loaded);
    EXPECT_EQ(pixels->w, kWindowWidth);
    EXPECT_EQ(pixels->h, kWindowHeight);
    frame.pixels.assign(static_cast<std::size_t>(kWindowWidth * kWindowHeight), 0);
    for (int y = 0; y < kWindowHeight && y < pixels->h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const char*>(pixels->pixels) +
                                                                 y * pixels->pitch);
        for (int x = 0; x < kWindowWidth && x < pixels->w; ++x) {
            frame.pixels[static_cast<std::size_t>(y * kWindowWidth + x)] = row[x] & 0x00FFFFFFu;
        }
    }
    SDL_FreeSurface(pixels);
    return frame;
}

// A cycle of the console program for the answer, its output captured until it ends.
struct KeyCycle {
    std::istringstream in;
    explicit KeyCycle(const char* answer) : in(std::string(answer) + "\n")
    {
        testing::internal::CaptureStdout();
        EXPECT_TRUE(beginCycle(in));
        EXPECT_NE(app.renderer, nullptr);
    }
    // Runs frames until the event queue is empty, each frame taking one event.
    void runQueuedEvents()
    {
        while (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
            runOneFrame(pictureFor(app.choice));
        }
    }
    // The console lines printed after the menu and the status lines; ends the cycle.
    std::string end()
    {
        endCycle();
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string opened = "Renderer created!\n";
        const std::size_t at = out.find(opened);
        return at == std::string::npos ? out : out.substr(at + opened.size());
    }
};

const std::regex kSavedLine("Zapisano klatkę: (plotnik-[^ ]+\\.png) \\(polecenie: (plotnik-snapshot [^;]+); "
                            "na stronie: #(answer=[^)]+)\\)\n");

}  // namespace

TEST(WindowKeys, EachKeyHasOneMeaning)
{
    const struct {
        SDL_Keycode sym;
        Uint16 mod;
        int lessonKey;  // -1: no lesson key
        WindowKey windowKey;
    } cases[] = {
        {SDLK_SPACE, KMOD_NONE, kKeyHold, kNoWindowKey},
        {SDLK_LEFT, KMOD_NONE, kKeyLeft, kNoWindowKey},
        {SDLK_RIGHT, KMOD_LSHIFT, kKeyRight, kNoWindowKey},
        {SDLK_UP, KMOD_RSHIFT, kKeyUp, kNoWindowKey},
        {SDLK_DOWN, KMOD_NUM, kKeyDown, kNoWindowKey},
        {SDLK_MINUS, KMOD_NONE, kKeySlower, kNoWindowKey},
        {SDLK_KP_MINUS, KMOD_NONE, kKeySlower, kNoWindowKey},
        {SDLK_EQUALS, KMOD_NONE, kKeyFaster, kNoWindowKey},
        {SDLK_EQUALS, KMOD_LSHIFT, kKeyFaster, kNoWindowKey},  // '+' on a US or Polish keyboard
        {SDLK_PLUS, KMOD_NONE, kKeyFaster, kNoWindowKey},
        {SDLK_KP_PLUS, KMOD_NONE, kKeyFaster, kNoWindowKey},
        {SDLK_RIGHT, KMOD_LCTRL, -1, kNoWindowKey},
        {SDLK_SPACE, KMOD_LALT, -1, kNoWindowKey},
        {SDLK_LEFT, KMOD_LGUI, -1, kNoWindowKey},
        {SDLK_F11, KMOD_NONE, -1, kKeyFullScreen},
        {SDLK_F11, KMOD_LSHIFT, -1, kKeyFullScreen},
        {SDLK_RETURN, KMOD_LALT, -1, kKeyFullScreen},
        {SDLK_KP_ENTER, KMOD_RALT, -1, kKeyFullScreen},
        {SDLK_RETURN, KMOD_NONE, -1, kNoWindowKey},
        {SDLK_RETURN, KMOD_LCTRL | KMOD_LALT, -1, kNoWindowKey},  // AltGr on Windows
        {SDLK_ESCAPE, KMOD_NONE, -1, kKeyLeaveFullScreen},
        {SDLK_s, KMOD_LCTRL, -1, kKeySaveFrame},
        {SDLK_s, KMOD_RCTRL | KMOD_LSHIFT, -1, kKeySaveFrame},
        {SDLK_s, KMOD_NONE, -1, kNoWindowKey},
        {SDLK_s, KMOD_LCTRL | KMOD_RALT, -1, kNoWindowKey},  // AltGr+S types ś
        {SDLK_q, KMOD_NONE, -1, kNoWindowKey},
    };
    for (const auto& c : cases) {
        const SDL_Keysym key = keysym(c.sym, c.mod);
        LessonKey lessonKey = kKeyHold;
        const bool isLessonKey = lessonKeyFor(key, lessonKey);
        EXPECT_EQ(isLessonKey ? static_cast<int>(lessonKey) : -1, c.lessonKey) << SDL_GetKeyName(c.sym) << " mod " << c.mod;
        EXPECT_EQ(windowKeyFor(key), c.windowKey) << SDL_GetKeyName(c.sym) << " mod " << c.mod;
    }
}

TEST(FullScreen, TheFrameFillsTheScreenAsFarAs16To9AllowsAndStaysCentred)
{
    const struct {
        int width, height;
        SDL_Rect frame;
    } cases[] = {
        {1920, 1080, {0, 0, 1920, 1080}}, {1280, 720, {0, 0, 1280, 720}},   {3840, 2160, {0, 0, 3840, 2160}},
        {1024, 768, {0, 96, 1024, 576}},  {1280, 1024, {0, 152, 1280, 720}}, {1440, 900, {0, 45, 1440, 810}},
        {1366, 768, {0, 0, 1365, 768}},   {2560, 1080, {320, 0, 1920, 1080}}, {800, 600, {0, 75, 800, 450}},
        {0, 0, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        const SDL_Rect r = frameOnScreen(c.width, c.height);
        EXPECT_EQ(r.x, c.frame.x) << c.width << "x" << c.height;
        EXPECT_EQ(r.y, c.frame.y) << c.width << "x" << c.height;
        EXPECT_EQ(r.w, c.frame.w) << c.width << "x" << c.height;
        EXPECT_EQ(r.h, c.frame.h) << c.width << "x" << c.height;
    }
}

TEST(FullScreen, ScreenPointsMapToFramePixelsAsThePageMapsItsPointer)
{
    const struct {
        SDL_Rect frame;
        SDL_Point screen;
        SDL_Point expected;
    } cases[] = {
        {{0, 0, 1920, 1080}, {960, 540}, {640, 360}},     // the screen's centre
        {{0, 96, 1024, 576}, {512, 384}, {640, 360}},
        {{320, 0, 1920, 1080}, {1280, 540}, {640, 360}},
        {{0, 0, 1920, 1080}, {0, 0}, {0, 0}},
        {{0, 0, 1920, 1080}, {2, 2}, {1, 1}},              // floor(2 * 2 / 3)
        {{0, 0, 1920, 1080}, {1919, 1079}, {1279, 719}},
        {{0, 96, 1024, 576}, {1023, 671}, {1278, 718}},    // floor(1023 * 1.25): 1279 is left of the last column
        {{0, 96, 1024, 576}, {500, 10}, {625, 0}},         // on the bar above: the frame's top row
        {{0, 96, 1024, 576}, {500, 700}, {625, 719}},      // on the bar below
        {{320, 0, 1920, 1080}, {100, 540}, {0, 360}},      // on the bar to the left
        {{0, 0, 1920, 1080}, {-1, -1}, {0, 0}},            // off the screen
        {{0, 0, 1920, 1080}, {2500, 1500}, {1279, 719}},
        {{0, 0, 1280, 720}, {777, 333}, {777, 333}},       // the frame's own size: each pixel itself
    };
    for (const auto& c : cases) {
        const SDL_Point p = framePixelAt(c.screen, c.frame);
        EXPECT_EQ(p.x, c.expected.x) << c.screen.x << "," << c.screen.y << " on " << c.frame.w << "x" << c.frame.h;
        EXPECT_EQ(p.y, c.expected.y) << c.screen.x << "," << c.screen.y << " on " << c.frame.w << "x" << c.frame.h;
    }
}

TEST(SavedFrame, TheNameAndTheCommandNameWhatSteersThePicture)
{
    const struct {
        const char* answer;
        FrameInputs inputs;
        int n;
        const char* name;
        const char* command;
    } cases[] = {
        {"7", {2345, {5, 6}}, 1, "plotnik-7-t2345.png", "plotnik-snapshot 7 --ticks 2345"},
        {"7", {2345, {5, 6}}, 2, "plotnik-7-t2345-2.png", "plotnik-snapshot 7 --ticks 2345"},
        {"1", {4294967295u, {0, 0}}, 1, "plotnik-1-t4294967295.png", "plotnik-snapshot 1 --ticks 4294967295"},
        {"4", {999, {720, 240}}, 1, "plotnik-4-x720-y240.png", "plotnik-snapshot 4 --mouse 720,240"},
        {"10", {0, {-5, 800}}, 12, "plotnik-10-x-5-y800-12.png", "plotnik-snapshot 10 --mouse -5,800"},
        {"3", {2345, {720, 240}}, 1, "plotnik-3.png", "plotnik-snapshot 3"},
        {"9", {0, {0, 0}}, 3, "plotnik-9-3.png", "plotnik-snapshot 9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(savedFrameName(pictureFor(c.answer), c.inputs, c.n), c.name);
        EXPECT_EQ(snapshotCommand(pictureFor(c.answer), c.inputs), c.command);
    }
}

TEST(PictureFile, IsWrittenWholeAndReplacedOnlyWhenAsked)
{
    const std::string dir = makeTempDir();
    const std::string path = dir + "/frame.png";
    SDL_Surface* first = SDL_CreateRGBSurfaceWithFormat(0, kWindowWidth, kWindowHeight, 24, SDL_PIXELFORMAT_RGB24);
    SDL_Surface* second = SDL_CreateRGBSurfaceWithFormat(0, kWindowWidth, kWindowHeight, 24, SDL_PIXELFORMAT_RGB24);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    SDL_FillRect(first, nullptr, SDL_MapRGB(first->format, 10, 20, 30));
    SDL_FillRect(second, nullptr, SDL_MapRGB(second->format, 200, 100, 0));
    std::string error;

    EXPECT_EQ(writePictureFile(first, path, false, error), kPictureWritten) << error;
    EXPECT_EQ(pictureFromFile(path).at(640, 360), rgb(10, 20, 30));
    EXPECT_EQ(writePictureFile(second, path, false, error), kPictureNameTaken);
    EXPECT_EQ(pictureFromFile(path).at(640, 360), rgb(10, 20, 30)) << "the file there is kept";
    EXPECT_FALSE(existsAtAll(path + ".partial"));
    EXPECT_EQ(writePictureFile(second, path, true, error), kPictureWritten) << error;
    EXPECT_EQ(pictureFromFile(path).at(0, 0), rgb(200, 100, 0));

    error.clear();
    EXPECT_EQ(writePictureFile(first, dir + "/no-such-folder/frame.png", false, error), kPictureFailed);
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(existsAtAll(dir + "/no-such-folder"));

    SDL_FreeSurface(first);
    SDL_FreeSurface(second);
    std::remove(path.c_str());
    EXPECT_EQ(rmdir(dir.c_str()), 0) << "nothing but the picture was left in the folder";
}

// Space holds a clock picture on the frame it shows; the arrows then step it 40 ms (Shift: 1 s),
// never below 0; Space lets it run on from where it stood.
TEST(KeyCycles, AHeldClockPictureStandsAndSteps)
{
    KeyCycle cycle("7");
    pushKey(SDLK_SPACE);
    cycle.runQueuedEvents();
    ASSERT_TRUE(isHeld(pictureWindow.lesson));
    const std::uint32_t held = clockTicks(pictureWindow.lesson.clock, SDL_GetTicks());
    EXPECT_LE(held, app.frameTicks);
    runOneFrame(pictureFor("7"));
    const Frame first = readFrame();
    SDL_Delay(30);
    runOneFrame(pictureFor("7"));
    EXPECT_TRUE(readFrame().pixels == first.pixels) << "a held picture stands";
    EXPECT_TRUE(first.pixels == expectedFrame("7", FrameInputs{held, {0, 0}}).pixels);

    const struct {
        SDL_Keycode sym;
        Uint16 mod;
        bool repeated;
        std::int64_t by;
    } steps[] = {
        {SDLK_RIGHT, KMOD_NONE, false, 40}, {SDLK_RIGHT, KMOD_NONE, true, 40}, {SDLK_LEFT, KMOD_LSHIFT, false, -1000},
        {SDLK_RIGHT, KMOD_LSHIFT, false, 1000}, {SDLK_SPACE, KMOD_NONE, true, 0},  // a repeated Space does nothing
    };
    std::int64_t expected = held;
    for (const auto& step : steps) {
        pushKey(step.sym, step.mod, step.repeated);
        cycle.runQueuedEvents();
        expected = std::max<std::int64_t>(expected + step.by, 0);
        EXPECT_EQ(clockTicks(pictureWindow.lesson.clock, SDL_GetTicks()), expected) << SDL_GetKeyName(step.sym);
        const Frame shown = readFrame();
        EXPECT_TRUE(shown.pixels == expectedFrame("7", FrameInputs{static_cast<std::uint32_t>(expected), {0, 0}}).pixels)
            << "the window shows the stepped frame";
    }
    ASSERT_TRUE(isHeld(pictureWindow.lesson));
    pushKey(SDLK_SPACE);
    cycle.runQueuedEvents();
    EXPECT_FALSE(isHeld(pictureWindow.lesson));
    EXPECT_GE(clockTicks(pictureWindow.lesson.clock, app.frameTicks), expected) << "it runs on from where it stood";
    EXPECT_EQ(cycle.end(), "") << "the keys print nothing";
}

// The speed keys step through the list; with no key the picture's clock is the window's own.
TEST(KeyCycles, SpeedKeysSlowTheClockDownAndSpeedItUp)
{
    KeyCycle cycle("6");
    runOneFrame(pictureFor("6"));
    EXPECT_EQ(lessonFrame(pictureWindow.lesson, app.frameTicks).ticks, app.frameTicks) << "untouched";
    const struct {
        SDL_Keycode sym;
        Uint16 mod;
        double speed;
    } keys[] = {
        {SDLK_MINUS, KMOD_NONE, 0.5}, {SDLK_KP_MINUS, KMOD_NONE, 0.25}, {SDLK_MINUS, KMOD_NONE, 0.25},
        {SDLK_EQUALS, KMOD_LSHIFT, 0.5}, {SDLK_KP_PLUS, KMOD_NONE, 1}, {SDLK_PLUS, KMOD_NONE, 2}, {SDLK_EQUALS, KMOD_NONE, 2},
    };
    for (const auto& key : keys) {
        pushKey(key.sym, key.mod);
        cycle.runQueuedEvents();
        EXPECT_EQ(pictureWindow.lesson.clock.speed, key.speed) << SDL_GetKeyName(key.sym);
    }
    cycle.end();
}

// A mouse picture whose window the mouse never came over: the arrows start from the frame's
// centre, one pixel a key, ten with Shift.
TEST(KeyCycles, ArrowsMoveAMousePicturesPointerFromTheCentre)
{
    KeyCycle cycle("4");
    runOneFrame(pictureFor("4"));
    ASSERT_FALSE(pictureWindow.lesson.pointerSet) << "the dummy driver's mouse is over no window";
    for (int i = 0; i < 3; ++i) {
        pushKey(SDLK_RIGHT);
    }
    pushKey(SDLK_UP, KMOD_LSHIFT);
    pushKey(SDLK_DOWN);
    cycle.runQueuedEvents();
    const Frame shown = readFrame();
    EXPECT_TRUE(shown.pixels == expectedFrame("4", FrameInputs{0, {643, 351}}).pixels);
    cycle.end();
}

// Ctrl+S writes the frame shown under a free name in the working folder and says so; a second
// one of the same frame gets the next name; a folder that cannot be written is reported and the
// picture goes on.
TEST(KeyCycles, CtrlSSavesTheFrameShownAndNeverOverwrites)
{
    const std::string dir = makeTempDir();
    std::string lines;
    Frame shown;
    {
        WorkingDirectory there(dir);
        KeyCycle cycle("4");
        pushKey(SDLK_RIGHT, KMOD_LSHIFT);  // (650, 360)
        pushKey(SDLK_SPACE);
        pushKey(SDLK_s, KMOD_LCTRL);
        pushKey(SDLK_s, KMOD_LCTRL, true);  // held down: no second file
        pushKey(SDLK_s, KMOD_RCTRL);
        cycle.runQueuedEvents();
        shown = readFrame();
        lines = cycle.end();
    }
    const std::string link = "answer=4&mouse=650,360&ticks=";
    std::smatch saved;
    ASSERT_TRUE(std::regex_search(lines, saved, kSavedLine)) << lines;
    EXPECT_EQ(saved.position(0), 0);
    EXPECT_EQ(saved[1].str(), "plotnik-4-x650-y360.png");
    EXPECT_EQ(saved[2].str(), "plotnik-snapshot 4 --mouse 650,360");
    EXPECT_EQ(saved[3].str().compare(0, link.size(), link), 0) << saved[3];
    const std::string rest = saved.suffix();
    ASSERT_TRUE(std::regex_match(rest, saved, kSavedLine)) << "one more line, the second name: " << rest;
    EXPECT_EQ(saved[1].str(), "plotnik-4-x650-y360-2.png");

    for (const char* name : {"plotnik-4-x650-y360.png", "plotnik-4-x650-y360-2.png"}) {
        EXPECT_TRUE(pictureFromFile(dir + "/" + name).pixels == shown.pixels) << name;
        std::remove((dir + "/" + name).c_str());
    }
    EXPECT_EQ(rmdir(dir.c_str()), 0) << "no other file was left";

    const std::string gone = makeTempDir();
    {
        WorkingDirectory there(gone);
        ASSERT_EQ(rmdir(gone.c_str()), 0);
        KeyCycle cycle("7");
        pushKey(SDLK_SPACE);
        pushKey(SDLK_s, KMOD_LCTRL);
        cycle.runQueuedEvents();
        EXPECT_TRUE(app.running) << "the picture goes on";
        const std::uint32_t ticks = clockTicks(pictureWindow.lesson.clock, 0);
        lines = cycle.end();
        EXPECT_EQ(lines.rfind("Nie udało się zapisać klatki do pliku plotnik-7-t" + std::to_string(ticks) +
                                  ".png w folderze, w którym uruchomiono Plotnik: ",
                              0),
                  0u)
            << lines;
        EXPECT_EQ(lines.find('\n'), lines.size() - 1) << "one line";
    }
}

// F11 scales the finished frame to the whole screen (the dummy driver's is 1024 x 768: bars above
// and below), Ctrl+S there still saves the frame itself, Escape gives the window back.
TEST(KeyCycles, FullScreenScalesTheFrameAndEscapeLeavesIt)
{
    const std::string dir = makeTempDir();
    WorkingDirectory there(dir);
    KeyCycle cycle("9");
    pushKey(SDLK_F11);
    pushKey(SDLK_s, KMOD_LCTRL);
    cycle.runQueuedEvents();
    ASSERT_TRUE(pictureWindow.fullScreen);
    int width = 0;
    int height = 0;
    ASSERT_EQ(SDL_GetRendererOutputSize(app.renderer, &width, &height), 0);
    SDL_DisplayMode mode{};
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &mode), 0);
    EXPECT_EQ(width, mode.w);
    EXPECT_EQ(height, mode.h);
    const SDL_Rect bars = frameOnScreen(width, height);
    ASSERT_GT(bars.y, 0) << "the dummy screen is 4:3";

    std::vector<std::uint32_t> screen(static_cast<std::size_t>(width * height));
    ASSERT_EQ(SDL_RenderReadPixels(app.renderer, nullptr, SDL_PIXELFORMAT_RGB888, screen.data(), width * 4), 0);
    int lit = 0;
    int litOnBars = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool on = (screen[static_cast<std::size_t>(y * width + x)] & 0x00FFFFFFu) != 0;
            lit += on ? 1 : 0;
            litOnBars += on && (y < bars.y || y >= bars.y + bars.h) ? 1 : 0;
        }
    }
    EXPECT_GT(lit, 10000) << "the prime graph is on the screen";
    EXPECT_EQ(litOnBars, 0) << "the bars are black";

    pushKey(SDLK_ESCAPE);
    cycle.runQueuedEvents();
    EXPECT_FALSE(pictureWindow.fullScreen);
    SDL_GetWindowSize(app.window, &width, &height);
    EXPECT_EQ(width, kWindowWidth);
    EXPECT_EQ(height, kWindowHeight);
    ASSERT_EQ(SDL_GetRendererOutputSize(app.renderer, &width, &height), 0);
    ASSERT_EQ(width, kWindowWidth) << "the 1280 x 720 window back";
    ASSERT_EQ(height, kWindowHeight) << "the 1280 x 720 window back";
    const Frame window = readFrame();
    EXPECT_TRUE(window.pixels == expectedFrame("9", FrameInputs{}).pixels) << "drawn straight into the window again";
    const std::string lines = cycle.end();
    EXPECT_EQ(lines.rfind("Zapisano klatkę: plotnik-9.png (", 0), 0u) << lines;
    EXPECT_TRUE(pictureFromFile(dir + "/plotnik-9.png").pixels == window.pixels) << "the frame, not the screen";
    std::remove((dir + "/plotnik-9.png").c_str());
    rmdir(dir.c_str());
}
