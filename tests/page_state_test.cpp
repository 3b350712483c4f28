// The page's decisions: a live picture is drawn again only when what steers it has moved, and it
// stops taking turns only when nothing but the page can change its frame; the constants page.js
// reads are the program's own; and a GIF recorded in the page is the exporter's.
#include "web/page_state.h"

#include "pictures/frame_link.h"
#include "run_command.h"
#include "scene_window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

TEST(PageState, AFrameIsDrawnAgainOnlyWhenWhatSteersThePictureMoved)
{
    const FrameInputs drawn{1000, {720, 240}};
    const struct {
        const char* what;
        Steering steering;
        bool onCanvas;
        FrameInputs now;
        bool draw;
    } cases[] = {
        {"nothing on the canvas yet", kSteeredByNothing, false, drawn, true},
        {"a still picture, the clock moved", kSteeredByNothing, true, {2000, {720, 240}}, false},
        {"a still picture, the pointer moved", kSteeredByNothing, true, {1000, {0, 0}}, false},
        {"a clock picture, the clock moved", kSteeredByClock, true, {1001, {720, 240}}, true},
        {"a clock picture, the pointer moved", kSteeredByClock, true, {1000, {721, 240}}, false},
        {"a clock picture, nothing moved", kSteeredByClock, true, drawn, false},
        {"a mouse picture, the pointer moved across", kSteeredByMouse, true, {1000, {721, 240}}, true},
        {"a mouse picture, the pointer moved up", kSteeredByMouse, true, {1000, {720, 239}}, true},
        {"a mouse picture, the clock moved", kSteeredByMouse, true, {5000, {720, 240}}, false},
    };
    for (const auto& c : cases) {
        PageState page;
        page.lesson = startLesson(c.steering);
        page.frameOnCanvas = c.onCanvas;
        page.drawn = drawn;
        EXPECT_EQ(frameMustBeDrawn(page, c.now), c.draw) << c.what;
    }
}

TEST(PageState, OnlyARunningClockKeepsThePageTakingTurns)
{
    const struct {
        const char* what;
        Steering steering;
        bool held;
        bool onCanvas;
        bool rest;
    } cases[] = {
        {"a still picture", kSteeredByNothing, false, true, true},
        {"a mouse picture", kSteeredByMouse, false, true, true},
        {"a held clock", kSteeredByClock, true, true, true},
        {"a running clock", kSteeredByClock, false, true, false},
        {"no frame yet", kSteeredByNothing, false, false, false},
    };
    for (const auto& c : cases) {
        PageState page;
        page.lesson = startLesson(c.steering);
        holdLesson(page.lesson, c.held, 0);
        page.frameOnCanvas = c.onCanvas;
        EXPECT_EQ(mayRest(page), c.rest) << c.what;
    }
}

TEST(PageState, TheConstantsForThePageAreTheProgramsOwn)
{
    const std::string json = pageConstants();
    const struct {
        const char* name;
        long long value;
    } cases[] = {
        {"\"refused\":", kShowsRefused},  {"\"menu\":", kShowsMenu},        {"\"live\":", kShowsLive},
        {"\"frozen\":", kShowsFrozen},    {"\"nothing\":", kSteeredByNothing}, {"\"clock\":", kSteeredByClock},
        {"\"mouse\":", kSteeredByMouse},  {"\"width\":", kWindowWidth},     {"\"height\":", kWindowHeight},
        {"\"hold\":", kKeyHold},          {"\"left\":", kKeyLeft},          {"\"right\":", kKeyRight},
        {"\"up\":", kKeyUp},              {"\"down\":", kKeyDown},          {"\"slower\":", kKeySlower},
        {"\"faster\":", kKeyFaster},
    };
    EXPECT_NE(json.find("\"gif\":{\"seconds\":[1,2,5,10],\"rates\":[10,25]}"), std::string::npos) << json;
    // The speeds, each read back as exactly the lesson's own, in its order.
    const std::size_t speeds = json.find("\"speeds\":[");
    ASSERT_NE(speeds, std::string::npos) << json;
    const char* read = json.c_str() + speeds + std::string("\"speeds\":").size();
    for (const double speed : kLessonSpeeds) {
        char* end = nullptr;
        EXPECT_EQ(std::strtod(read + 1, &end), speed) << json;  // past the '[' or the ','
        read = end;
    }
    EXPECT_EQ(*read, ']') << json;
    for (const auto& c : cases) {
        const std::size_t at = json.find(c.name);
        ASSERT_NE(at, std::string::npos) << c.name << " in " << json;
        EXPECT_EQ(std::stoll(json.substr(at + std::string(c.name).size())), c.value) << c.name;
    }
    EXPECT_EQ(json.front(), '{');
    EXPECT_EQ(json.back(), '}');
}

// A recording's frames: the clock steps 1000 / fps times the picture's speed, each frame is shown
// for 1000 / fps ms as GIF hundredths; what the page does not offer, what would not step on whole
// milliseconds, a picture the clock does not move and a clock past its end are refused, in Polish.
TEST(PageRecording, TheClockStepsAtThePicturesSpeedAndTheDelayIsThePlaybackRate)
{
    const struct {
        const char* answer;
        std::uint32_t start;
        int seconds, fps;
        double speed;
        std::uint32_t step;
        std::uint64_t delay;
        int frames;
        const char* saying;  // what a refusal says, or "" when it starts
    } cases[] = {
        {"7", 2345, 2, 25, 1.0, 40, 4, 50, ""},
        {"7", 2345, 1, 10, 1.0, 100, 10, 10, ""},
        {"1", 0, 10, 25, 0.25, 10, 4, 250, ""},
        {"6", 0, 5, 25, 0.5, 20, 4, 125, ""},
        {"8", 0, 1, 10, 2.0, 200, 10, 10, ""},
        {"8", 0, 1, 10, 0.5, 50, 10, 10, ""},
        {"1", 4294967295u - 9 * 100, 1, 10, 1.0, 100, 10, 10, ""},  // the last frame on the clock's last ms
        {"1", 4294967295u - 9 * 100 + 1, 1, 10, 1.0, 0, 0, 0, "minąłby 4\u00a0294\u00a0967\u00a0295\u00a0ms"},
        {"7", 0, 3, 25, 1.0, 0, 0, 0, "GIF trwa 1, 2, 5 albo 10\u00a0s."},
        {"7", 0, 1, 30, 1.0, 0, 0, 0, "GIF ma 10 albo 25 klatek na sekundę."},
        {"7", 0, 1, 25, 0.33, 0, 0, 0, "pełną milisekundę"},
        {"7", 0, 1, 25, 0.0, 0, 0, 0, "pełną milisekundę"},
        {"4", 0, 1, 25, 1.0, 0, 0, 0, "tylko z\u00a0obrazu, który porusza zegar"},
        {"3", 0, 1, 25, 1.0, 0, 0, 0, "tylko z\u00a0obrazu, który porusza zegar"},
    };
    for (const auto& c : cases) {
        const std::string what = std::string(c.answer) + " from " + std::to_string(c.start) + ", " +
                                 std::to_string(c.seconds) + " s at " + std::to_string(c.fps) + " at speed " +
                                 std::to_string(c.speed);
        Recording recording;
        std::string said;
        const bool began = beginRecording(recording, pictureFor(c.answer), c.start, c.seconds, c.fps, c.speed, said);
        EXPECT_EQ(began, std::string(c.saying).empty()) << what;
        if (began) {
            EXPECT_EQ(said, "") << what;
            EXPECT_TRUE(recording.active) << what;
            EXPECT_EQ(recording.fileName, gifFileName(pictureFor(c.answer), c.start, c.seconds, c.fps)) << what;
        } else {
            EXPECT_NE(said.find(c.saying), std::string::npos) << what << ": " << said;
            EXPECT_FALSE(recording.active) << what;
        }
        EXPECT_EQ(recording.series.step, c.step) << what;
        EXPECT_EQ(recording.delay, c.delay) << what;
        EXPECT_EQ(recording.frames, c.frames) << what;
        endRecording(recording);
    }
}

// At the real pace the page's GIF is the exporter's for the same clock, frames and step, byte for
// byte: the frames drawn as every front end draws them, read back and encoded as the exporter
// does, one at a time. Ending a recording gives back its memory.
TEST(PageRecording, AtTheRealPaceTheGifIsTheExportersByteForByte)
{
    openSceneWindow();
    const struct {
        const char* answer;
        std::uint32_t start;
        int seconds, fps;
        const char* every;
    } cases[] = {
        {"7", 2345, 1, 10, "100"},
        {"1", 3990, 1, 25, "40"},  // past the frequency's wrap at 4000 ms
        {"6", 0, 2, 10, "100"},
        {"8", 6785, 1, 25, "40"},
    };
    const std::string dir = makeTempDir();
    for (const auto& c : cases) {
        const std::string what = std::string(c.answer) + " from " + std::to_string(c.start);
        Recording recording;
        std::string why;
        ASSERT_TRUE(beginRecording(recording, pictureFor(c.answer), c.start, c.seconds, c.fps, 1.0, why)) << what;
        for (int k = 0; k < recording.frames; ++k) {
            ASSERT_TRUE(recordFrame(recording, nullptr, why)) << what << ", frame " << k << ": " << why;
        }
        EXPECT_FALSE(recordFrame(recording, nullptr, why)) << what;
        EXPECT_EQ(why, "Nic się nie nagrywa.") << what;
        const std::string gif = dir + "/" + recording.fileName;
        const CommandResult run = runCommand({snapshotPath(), c.answer, "--ticks", std::to_string(c.start), "--frames",
                                              std::to_string(c.seconds * c.fps), "--every", c.every, "--out", gif},
                                             "", ".");
        ASSERT_EQ(run.status, 0) << what << ": " << run.err;
        const std::string exported = readWholeFile(gif);
        EXPECT_GT(exported.size(), 1000u) << what;
        EXPECT_TRUE(std::string(recording.bytes.begin(), recording.bytes.end()) == exported) << what;
        endRecording(recording);
        EXPECT_FALSE(recording.active) << what;
        EXPECT_EQ(recording.bytes.capacity() + recording.gif.shown.capacity(), 0u) << what;
        EXPECT_EQ(recording.pixels, nullptr) << what;
    }
    std::filesystem::remove_all(dir);
    closeSceneWindow();
}

// What the page shows decides what it names, offers and takes: a picture opened but not yet drawn
// has no frame to save; a live mouse picture's parameters are the values of the frame on the canvas,
// and a value typed holds the picture at the frame nearest it; rubbish is refused and said why.
TEST(PageState, WhatIsShownDecidesTheFileNameTheParametersAndTheTypedValues)
{
    const struct {
        const char* what;
        PageShows shows;
        const char* answer;
        bool drawn;
        const char* fileName;
        const char* parameters;  // a part of the JSON
    } cases[] = {
        {"the menu", kShowsMenu, "4", true, "", "[]"},
        {"picture 4 opened, no frame yet", kShowsLive, "4", false, "", "\"value\":\"0,6000\""},
        {"picture 4 drawn", kShowsLive, "4", true, "plotnik-4-x720-y240.png",
         "{\"id\":\"param-a\",\"label\":\"a\",\"value\":\"0,6000\"},{\"id\":\"param-b\",\"label\":\"b\",\"value\":\"2,0000\"}"},
        {"picture 9 frozen", kShowsFrozen, "9", true, "plotnik-9.png", "[]"},
        {"picture 4 frozen: no fields", kShowsFrozen, "4", true, "plotnik-4-x720-y240.png", "[]"},
    };
    for (const auto& c : cases) {
        PageState page;
        page.shows = c.shows;
        page.picture = &pictureFor(c.answer);
        page.lesson = startLesson(page.picture->steering);
        page.frameOnCanvas = c.drawn;
        page.drawn = FrameInputs{1000, {720, 240}};
        EXPECT_EQ(pictureOpen(page), c.shows != kShowsMenu) << c.what;
        EXPECT_EQ(canvasFileName(page), c.fileName) << c.what;
        EXPECT_NE(parametersJson(page).find(c.parameters), std::string::npos) << c.what << ": " << parametersJson(page);
    }

    PageState page;
    page.shows = kShowsLive;
    page.picture = &pictureFor("4");
    page.lesson = startLesson(kSteeredByMouse);
    page.resting = true;
    std::string why;
    EXPECT_FALSE(typeParameter(page, 0, "abc", 5000, why));
    EXPECT_NE(why.find("to nie liczba"), std::string::npos) << why;
    EXPECT_FALSE(typeParameter(page, 2, "1", 5000, why)) << "picture 4 has two parameters";
    ASSERT_TRUE(typeParameter(page, 0, "1", 5000, why)) << why;
    EXPECT_TRUE(isHeld(page.lesson));
    EXPECT_EQ(lessonFrame(page.lesson, 9000).mouse.y, 160) << "a = 1 on row 160";
    EXPECT_TRUE(wakePage(page)) << "a resting page takes turns again";
    EXPECT_FALSE(wakePage(page)) << "once";
}

// A recording that fails part way (here: a frame with more colours than a GIF frame holds) ends,
// and the window's memory, where the recording drew, gets the canvas's frame back.
TEST(PageRecording, AFailedRecordingLeavesTheCanvasFrameInTheWindowsMemory)
{
    openSceneWindow(false);
    // One dot on row (ticks mod 720); from the clock 1000 on, a row of 300 colours.
    const Picture colourful{"x", "x", "", kSteeredByClock, [](const FrameInputs& in) {
                                const int colours = in.ticks >= 1000 ? 300 : 1;
                                for (int i = 0; i < colours; ++i) {
                                    SDL_SetRenderDrawColor(app.renderer, static_cast<Uint8>(i % 256),
                                                           static_cast<Uint8>(i / 256 * 128 + 1), 7, 0);
                                    SDL_RenderDrawPoint(app.renderer, i, static_cast<int>(in.ticks % 720));
                                }
                            },
                            nullptr, 0};
    PageState page;
    page.shows = kShowsFrozen;
    page.picture = &colourful;
    page.frameOnCanvas = true;
    page.drawn = FrameInputs{960, {0, 0}};
    drawFrame(colourful, page.drawn);
    const Frame canvas = readFrame();
    std::string why;
    ASSERT_TRUE(beginPageRecording(page, 1, 25, why)) << why;  // frames at 960, 1000, ...
    ASSERT_TRUE(recordPageFrame(page, why)) << why;
    EXPECT_FALSE(recordPageFrame(page, why));
    EXPECT_NE(why.find("ma więcej niż 256 kolorów"), std::string::npos) << why;
    EXPECT_FALSE(page.recording.active);
    EXPECT_TRUE(readFrame().pixels == canvas.pixels) << "the window's memory holds the frame on the canvas";
    closeSceneWindow();
}
