// The window's keys: which key does what, the frame fitted to any screen and the pointer mapped
// back, saved frames' names and files (never overwritten), and cycles driven by key events in a
// headless window. Holding, stepping and saving against the exporter run in real windows
// (tests/e2e/window_keys.sh, full_screen.sh, tests/windows/keys_test.sh).
#include "cycle_support.h"
#include "run_command.h"
#include "scene_window.h"

#include "common/files.h"
#include "common/frame_on_screen.h"
#include "common/picture_file.h"
#include "console/program.h"
#include "console/window_keys.h"
#include "console/saved_frame.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <string>

namespace {

void pushKey(SDL_Keycode sym, Uint16 mod = KMOD_NONE, bool repeated = false)
{
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.repeat = repeated ? 1 : 0;
    event.key.keysym.sym = sym;
    event.key.keysym.mod = mod;
    SDL_PushEvent(&event);
}

// A PNG file's pixels as Frame keeps them; none when it cannot be read.
Frame frameInFile(const std::string& path)
{
    Frame frame;
    SDL_Surface* loaded = IMG_Load(path.c_str());
    SDL_Surface* pixels = loaded != nullptr ? SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0) : nullptr;
    SDL_FreeSurface(loaded);
    if (pixels != nullptr && pixels->w == kWindowWidth && pixels->h == kWindowHeight) {
        for (int y = 0; y < kWindowHeight; ++y) {
            const auto* row = static_cast<const std::uint32_t*>(pixels->pixels) + y * pixels->pitch / 4;
            for (int x = 0; x < kWindowWidth; ++x) {
                frame.pixels.push_back(row[x] & 0x00FFFFFFu);
            }
        }
    }
    SDL_FreeSurface(pixels);
    return frame;
}

// A cycle of the console program for the answer; its console lines after the status lines are
// what end() gives.
struct KeyCycle {
    std::istringstream in;
    explicit KeyCycle(const char* answer) : in(std::string(answer) + "\n")
    {
        testing::internal::CaptureStdout();
        EXPECT_TRUE(beginCycle(in));
        EXPECT_NE(app.renderer, nullptr);
    }
    void runQueuedEvents()  // one frame per event, as the loop takes them
    {
        while (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
            runOneFrame(pictureFor(app.choice));
        }
    }
    std::string end()
    {
        endCycle();
        const std::string out = testing::internal::GetCapturedStdout();
        return out.substr(out.find("Renderer created!\n") + 18);
    }
};

}  // namespace

TEST(WindowKeys, EachKeyHasOneMeaning)
{
    const struct {
        SDL_Keycode sym;
        Uint16 mod;
        int lessonKey;  // -1: none
        WindowKey windowKey;
    } cases[] = {
        {SDLK_SPACE, KMOD_NONE, kKeyHold, kNoWindowKey},       {SDLK_LEFT, KMOD_NONE, kKeyLeft, kNoWindowKey},
        {SDLK_RIGHT, KMOD_LSHIFT, kKeyRight, kNoWindowKey},    {SDLK_UP, KMOD_RSHIFT, kKeyUp, kNoWindowKey},
        {SDLK_DOWN, KMOD_NUM, kKeyDown, kNoWindowKey},         {SDLK_MINUS, KMOD_NONE, kKeySlower, kNoWindowKey},
        {SDLK_KP_MINUS, KMOD_NONE, kKeySlower, kNoWindowKey},  {SDLK_EQUALS, KMOD_LSHIFT, kKeyFaster, kNoWindowKey},
        {SDLK_PLUS, KMOD_NONE, kKeyFaster, kNoWindowKey},      {SDLK_KP_PLUS, KMOD_NONE, kKeyFaster, kNoWindowKey},
        {SDLK_RIGHT, KMOD_LCTRL, -1, kNoWindowKey},            {SDLK_SPACE, KMOD_LALT, -1, kNoWindowKey},
        {SDLK_LEFT, KMOD_LGUI, -1, kNoWindowKey},              {SDLK_F11, KMOD_LSHIFT, -1, kKeyFullScreen},
        {SDLK_RETURN, KMOD_LALT, -1, kKeyFullScreen},          {SDLK_KP_ENTER, KMOD_RALT, -1, kKeyFullScreen},
        {SDLK_RETURN, KMOD_NONE, -1, kNoWindowKey},            {SDLK_ESCAPE, KMOD_NONE, -1, kKeyLeaveFullScreen},
        {SDLK_RETURN, KMOD_LCTRL | KMOD_RALT, -1, kNoWindowKey},  // AltGr on Windows is Ctrl+Alt
        {SDLK_s, KMOD_LCTRL, -1, kKeySaveFrame},               {SDLK_s, KMOD_RCTRL | KMOD_LSHIFT, -1, kKeySaveFrame},
        {SDLK_s, KMOD_NONE, -1, kNoWindowKey},                 {SDLK_s, KMOD_LCTRL | KMOD_RALT, -1, kNoWindowKey},  // ś
    };
    for (const auto& c : cases) {
        SDL_Keysym key{};
        key.sym = c.sym;
        key.mod = c.mod;
        LessonKey lessonKey = kKeyHold;
        const int taken = lessonKeyFor(key, lessonKey) ? static_cast<int>(lessonKey) : -1;
        EXPECT_EQ(taken, c.lessonKey) << SDL_GetKeyName(c.sym) << " mod " << c.mod;
        EXPECT_EQ(windowKeyFor(key), c.windowKey) << SDL_GetKeyName(c.sym) << " mod " << c.mod;
    }
}

// The frame as large as 16:9 allows, centred; a screen point maps back as the page maps its
// pointer, floor(offset * frame / rectangle), held at the frame's edges on the bars and off screen.
TEST(FullScreen, TheFrameFitsAnyScreenAndThePointerMapsBack)
{
    const struct {
        int width, height;
        SDL_Rect frame;
        SDL_Point screen, pixel;
    } cases[] = {
        {1920, 1080, {0, 0, 1920, 1080}, {960, 540}, {640, 360}},   {1920, 1080, {0, 0, 1920, 1080}, {2, 2}, {1, 1}},
        {1920, 1080, {0, 0, 1920, 1080}, {1919, 1079}, {1279, 719}}, {1920, 1080, {0, 0, 1920, 1080}, {-1, 2500}, {0, 719}},
        {1024, 768, {0, 96, 1024, 576}, {512, 384}, {640, 360}},    {1024, 768, {0, 96, 1024, 576}, {1023, 671}, {1278, 718}},
        {1024, 768, {0, 96, 1024, 576}, {500, 10}, {625, 0}},       {1024, 768, {0, 96, 1024, 576}, {500, 700}, {625, 719}},
        {2560, 1080, {320, 0, 1920, 1080}, {1280, 540}, {640, 360}}, {2560, 1080, {320, 0, 1920, 1080}, {100, 540}, {0, 360}},
        {1366, 768, {0, 0, 1365, 768}, {682, 384}, {639, 360}},      {1440, 900, {0, 45, 1440, 810}, {720, 450}, {640, 360}},
        {1280, 1024, {0, 152, 1280, 720}, {777, 333}, {777, 181}},   {1280, 720, {0, 0, 1280, 720}, {777, 333}, {777, 333}},
        {0, 0, {0, 0, 0, 0}, {5, 5}, {0, 0}},
    };
    for (const auto& c : cases) {
        const SDL_Rect r = frameOnScreen(c.width, c.height);
        const SDL_Point p = framePixelAt(c.screen, r);
        EXPECT_TRUE(r.x == c.frame.x && r.y == c.frame.y && r.w == c.frame.w && r.h == c.frame.h)
            << c.width << "x" << c.height << " gave " << r.w << "x" << r.h << "+" << r.x << "+" << r.y;
        EXPECT_TRUE(p.x == c.pixel.x && p.y == c.pixel.y)
            << c.screen.x << "," << c.screen.y << " on " << c.width << "x" << c.height << " gave " << p.x << "," << p.y;
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
        {"1", {4294967295u, {0, 0}}, 2, "plotnik-1-t4294967295-2.png", "plotnik-snapshot 1 --ticks 4294967295"},
        {"4", {999, {720, 240}}, 1, "plotnik-4-x720-y240.png", "plotnik-snapshot 4 --mouse 720,240"},
        {"10", {0, {-5, 800}}, 12, "plotnik-10-x-5-y800-12.png", "plotnik-snapshot 10 --mouse -5,800"},
        {"3", {2345, {720, 240}}, 1, "plotnik-3.png", "plotnik-snapshot 3"},
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
    SDL_Surface* pixels = SDL_CreateRGBSurfaceWithFormat(0, kWindowWidth, kWindowHeight, 24, SDL_PIXELFORMAT_RGB24);
    ASSERT_NE(pixels, nullptr);
    std::string error;
    const struct {
        Uint8 red;
        std::string path;
        bool replace;
        PictureWrite result;
        std::uint32_t inFile;  // frame.png's pixel afterwards
    } writes[] = {
        {10, path, false, kPictureWritten, rgb(10, 0, 0)},
        {20, path, false, kPictureNameTaken, rgb(10, 0, 0)},  // the file there is kept
        {30, path, true, kPictureWritten, rgb(30, 0, 0)},
        {40, dir + "/no-such-folder/frame.png", false, kPictureFailed, rgb(30, 0, 0)},
    };
    for (const auto& w : writes) {
        SDL_FillRect(pixels, nullptr, SDL_MapRGB(pixels->format, w.red, 0, 0));
        error.clear();
        EXPECT_EQ(writePictureFile(pixels, w.path, w.replace, error), w.result) << int(w.red) << ": " << error;
        EXPECT_EQ(error.empty(), w.result == kPictureWritten) << int(w.red);
        const Frame file = frameInFile(path);
        ASSERT_FALSE(file.pixels.empty());
        EXPECT_EQ(file.at(1279, 719), w.inFile) << int(w.red);
    }
    SDL_FreeSurface(pixels);
    std::remove(path.c_str());
    EXPECT_EQ(rmdir(dir.c_str()), 0) << "no partial file or other file was left";
}

// A mouse picture whose window the mouse never came over: the arrows start from the frame's
// centre, one pixel a key, ten with Shift; a held-down Space repeating does not hold it.
TEST(KeyCycles, ArrowsMoveAMousePicturesPointerFromTheCentre)
{
    KeyCycle cycle("4");
    for (SDL_Keycode sym : {SDLK_RIGHT, SDLK_RIGHT, SDLK_RIGHT, SDLK_DOWN}) {
        pushKey(sym);
    }
    pushKey(SDLK_UP, KMOD_LSHIFT);
    pushKey(SDLK_SPACE, KMOD_NONE, true);
    cycle.runQueuedEvents();
    EXPECT_FALSE(isHeld(pictureWindow.lesson));
    const Frame shown = readFrame();
    drawFrame(pictureFor("4"), FrameInputs{0, {643, 351}});
    EXPECT_TRUE(shown.pixels == readFrame().pixels);
    EXPECT_EQ(cycle.end(), "") << "the keys print nothing";
}

// F11 scales the finished frame to the whole screen (the dummy driver's is 4:3: bars above and
// below), Ctrl+S there saves the frame itself, and Escape gives the 1280 x 720 window back even
// without a window manager.
TEST(KeyCycles, FullScreenScalesTheFrameSavesItWholeAndEscapeLeavesIt)
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
    const SDL_Rect frame = frameOnScreen(width, height);
    ASSERT_GT(frame.y, 0) << width << "x" << height;
    std::vector<std::uint32_t> screen(static_cast<std::size_t>(width * height));
    ASSERT_EQ(SDL_RenderReadPixels(app.renderer, nullptr, SDL_PIXELFORMAT_RGB888, screen.data(), width * 4), 0);
    int lit = 0;
    int litOnBars = 0;
    for (int i = 0; i < width * height; ++i) {
        const bool on = (screen[static_cast<std::size_t>(i)] & 0x00FFFFFFu) != 0;
        lit += on ? 1 : 0;
        litOnBars += on && (i / width < frame.y || i / width >= frame.y + frame.h) ? 1 : 0;
    }
    EXPECT_GT(lit, 10000) << "the prime graph is on the screen";
    EXPECT_EQ(litOnBars, 0) << "the bars are black";

    pushKey(SDLK_ESCAPE);
    cycle.runQueuedEvents();
    EXPECT_FALSE(pictureWindow.fullScreen);
    ASSERT_EQ(SDL_GetRendererOutputSize(app.renderer, &width, &height), 0);
    ASSERT_TRUE(width == kWindowWidth && height == kWindowHeight) << width << "x" << height;
    const Frame window = readFrame();
    drawFrame(pictureFor("9"), FrameInputs{});
    EXPECT_TRUE(window.pixels == readFrame().pixels) << "drawn straight into the window again";
    const std::string lines = cycle.end();
    const std::string told = "Zapisano klatkę: plotnik-9.png (polecenie: plotnik-snapshot 9; na stronie: "
                             "#answer=9&mouse=0,0&ticks=";  // the frame's clock follows
    EXPECT_EQ(lines.compare(0, told.size(), told), 0) << lines;
    EXPECT_EQ(lines.find_first_not_of("0123456789", told.size()), lines.size() - 2) << lines;
    EXPECT_EQ(lines.substr(lines.size() - 2), ")\n") << lines;
    EXPECT_TRUE(frameInFile(dir + "/plotnik-9.png").pixels == window.pixels) << "the frame, not the screen";
    std::remove((dir + "/plotnik-9.png").c_str());
    rmdir(dir.c_str());
}

// A folder that cannot be written (here: removed while the program runs in it) is told in one
// line, and the picture goes on.
TEST(KeyCycles, AFolderThatCannotBeWrittenIsToldAndThePictureGoesOn)
{
    const std::string gone = makeTempDir();
    WorkingDirectory there(gone);
    ASSERT_EQ(rmdir(gone.c_str()), 0);
    KeyCycle cycle("7");
    pushKey(SDLK_SPACE);
    pushKey(SDLK_s, KMOD_LCTRL);
    cycle.runQueuedEvents();
    runOneFrame(pictureFor("7"));
    EXPECT_TRUE(app.running);
    const std::string name = "plotnik-7-t" + std::to_string(clockTicks(pictureWindow.lesson.clock, 0)) + ".png";
    const std::string lines = cycle.end();
    const std::string told = "Nie udało się zapisać klatki do pliku " + name + " w folderze, w którym uruchomiono Plotnika: ";
    EXPECT_EQ(lines.compare(0, told.size(), told), 0) << lines;
    EXPECT_EQ(lines.find('\n'), lines.size() - 1) << "one line, the reason in it: " << lines;
}
