// A lesson with a class in the page's program: the state a teacher's page publishes, a pupil's
// page following it to the same frame and clock, and an answer's values and small picture.
#include "web/class_state.h"

#include "scene_window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// A page showing this picture live, its lesson started at the page's clock 0.
PageState livePage(const char* answer)
{
    PageState page;
    page.shows = kShowsLive;
    page.picture = &pictureFor(answer);
    page.lesson = startLesson(page.picture->steering);
    return page;
}

FrameLink linkOf(const std::string& fragment)
{
    FrameLink link;
    std::string why;
    EXPECT_TRUE(readFrameLink(fragment, link, why)) << fragment << ": " << why;
    return link;
}

// The link of a state's JSON, as the pupil's page reads it.
std::string linkIn(const std::string& json)
{
    const std::size_t from = json.find("\"link\":\"") + 8;
    return json.substr(from, json.find('"', from) - from);
}

}  // namespace

TEST(ClassState, TheTeachersStateIsTheFrameNowItsHoldAndItsSpeed)
{
    PageState menu;
    EXPECT_EQ(lessonStateJson(menu, 5000), "{\"link\":\"\",\"held\":false,\"speed\":1}");

    PageState clock = livePage("7");
    EXPECT_EQ(lessonStateJson(clock, 2345), "{\"link\":\"answer=7&mouse=640,360&ticks=2345\",\"held\":false,\"speed\":1}");
    ASSERT_TRUE(setClockSpeed(clock.lesson.clock, 0.25, 3000));
    EXPECT_EQ(lessonStateJson(clock, 3400), "{\"link\":\"answer=7&mouse=640,360&ticks=3100\",\"held\":false,\"speed\":0.25}");
    holdLesson(clock.lesson, true, 3400);
    EXPECT_EQ(lessonStateJson(clock, 9999), "{\"link\":\"answer=7&mouse=640,360&ticks=3100\",\"held\":true,\"speed\":0.25}");

    PageState mouse = livePage("4");
    pointerMoved(mouse.lesson, SDL_Point{720, 240});
    EXPECT_EQ(linkIn(lessonStateJson(mouse, 10)), "answer=4&mouse=720,240&ticks=10");
    PageState other = livePage("01");  // the console's rule: picture 1, whose own answer is sent
    EXPECT_EQ(linkIn(lessonStateJson(other, 10)), "answer=1&mouse=640,360&ticks=10");

    PageState frozen;
    frozen.shows = kShowsFrozen;
    frozen.picture = &pictureFor("9");
    frozen.drawn = FrameInputs{77, {1, 2}};
    EXPECT_EQ(lessonStateJson(frozen, 5000), "{\"link\":\"answer=9&mouse=1,2&ticks=77\",\"held\":true,\"speed\":1}");
}

TEST(ClassState, APupilFollowsToTheTeachersFrameAndClock)
{
    const struct {
        const char* what;
        const char* answer;  // the pupil's live picture
        const char* link;    // the teacher's
        bool held;
        double speed, elapsed;
        bool followed;
        std::uint32_t ticksThen;  // the pupil's clock at its time 10000 + 100
        int x, y;                 // the pupil's pointer (a clock picture's is never set)
    } cases[] = {
        {"running", "7", "answer=7&mouse=640,360&ticks=1000", false, 1, 40, true, 1140, 0, 0},
        {"running twice as fast", "7", "answer=7&mouse=640,360&ticks=1000", false, 2, 40, true, 1280, 0, 0},
        {"held", "7", "answer=7&mouse=640,360&ticks=1000", true, 1, 40, true, 1000, 0, 0},
        {"a clock sent from the future", "7", "answer=7&mouse=640,360&ticks=1000", false, 1, -30, true, 1100, 0, 0},
        {"a mouse picture", "4", "answer=4&mouse=720,240&ticks=0", true, 1, 0, true, 0, 720, 240},
        {"another picture", "4", "answer=7&mouse=640,360&ticks=1000", false, 1, 0, false, 10100, 0, 0},
        {"no speed", "7", "answer=7&mouse=640,360&ticks=1000", false, 0, 0, false, 10100, 0, 0},
        {"too fast", "7", "answer=7&mouse=640,360&ticks=1000", false, 17, 0, false, 10100, 0, 0},
        {"no time", "7", "answer=7&mouse=640,360&ticks=1000", false, 1, NAN, false, 10100, 0, 0},
    };
    for (const auto& c : cases) {
        PageState page = livePage(c.answer);
        EXPECT_EQ(followLesson(page, linkOf(c.link), c.held, c.speed, c.elapsed, 10000), c.followed) << c.what;
        const FrameInputs now = lessonFrame(page.lesson, 10100);
        EXPECT_EQ(now.ticks, c.ticksThen) << c.what;
        EXPECT_EQ(now.mouse.x, c.x) << c.what;
        EXPECT_EQ(now.mouse.y, c.y) << c.what;
        EXPECT_EQ(isHeld(page.lesson), c.followed && c.held) << c.what;
    }
    PageState menu;
    EXPECT_FALSE(followLesson(menu, linkOf("answer=7&mouse=0,0&ticks=0"), true, 1, 0, 0)) << "no live picture";
}

// What the teacher's page publishes, a pupil's page reads back to the same state, whatever the two
// pages' clocks read.
TEST(ClassState, AFollowingPagePublishesWhatItFollows)
{
    PageState teacher = livePage("2");
    pointerMoved(teacher.lesson, SDL_Point{1270, 400});
    holdLesson(teacher.lesson, true, 500);
    PageState running = livePage("8");
    ASSERT_TRUE(setClockSpeed(running.lesson.clock, 0.5, 100));
    for (PageState* page : {&teacher, &running}) {
        const std::string state = lessonStateJson(*page, 700);
        PageState pupil = livePage(page->picture->answer);
        ASSERT_TRUE(followLesson(pupil, linkOf(linkIn(state)), isHeld(page->lesson), page->lesson.clock.speed, 0, 90000))
            << state;
        EXPECT_EQ(lessonStateJson(pupil, 90000), state);
        EXPECT_EQ(lessonFrame(pupil.lesson, 90400), lessonFrame(page->lesson, 1100)) << "400 ms on";
    }
}

TEST(ClassState, AnAnswersValuesAreThoseItsPictureShows)
{
    EXPECT_EQ(frameValues(pictureFor("4"), FrameInputs{0, {720, 240}}), "a = 0,6000; b = 2,0000");
    EXPECT_EQ(frameValues(pictureFor("4"), FrameInputs{0, {300, 500}}), "a = \u22120,7000; b = \u22128,5000");
    EXPECT_EQ(frameValues(pictureFor("2"), FrameInputs{0, {1270, 400}}).find("x0 = "), 0u);
    EXPECT_EQ(frameValues(pictureFor("3"), FrameInputs{0, {1, 1}}), "");
}

TEST(ClassState, ASmallPictureIsEachSquaresRoundedMean)
{
    // 8 x 4 pixels, rows 30 bytes apart (6 left over): two small pixels of 4 x 4.
    std::vector<std::uint8_t> rgb(4 * 30, 0);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            std::uint8_t* p = &rgb[y * 30 + x * 3];
            p[0] = x < 4 ? 255 : 0;                          // left square red
            p[1] = x >= 4 && (x + y) % 2 == 0 ? 255 : 0;     // right square half green: 127.5
            p[2] = x >= 4 && x == 4 && y == 0 ? 8 : 0;       // one 8 in sixteen: 0.5, rounded up
        }
    }
    std::vector<std::uint8_t> rgba;
    reduceFrame(rgb.data(), 8, 4, 30, 4, rgba);
    EXPECT_EQ(rgba, (std::vector<std::uint8_t>{255, 0, 0, 255, 0, 128, 1, 255}));
}

// An answer is drawn where the canvas's frame is kept, and that frame is drawn back after it.
TEST(ClassState, AnAnswerIsTheFramesSmallPictureAndTheCanvasFrameStays)
{
    PageState page;
    page.shows = kShowsFrozen;
    page.picture = &pictureFor("9");
    std::vector<std::uint8_t> rgba;
    std::string why;
    EXPECT_FALSE(drawAnswer(page, pictureFor("4"), FrameInputs{0, {720, 240}}, rgba, why));
    EXPECT_NE(why.find("Nie ma okna"), std::string::npos) << why;

    openSceneWindow();
    page.mediaReady = true;
    page.frameOnCanvas = true;
    drawFrame(pictureFor("4"), FrameInputs{0, {720, 240}});
    const Frame answer = readFrame();
    drawFrame(*page.picture, page.drawn);
    const Frame canvas = readFrame();
    ASSERT_TRUE(drawAnswer(page, pictureFor("4"), FrameInputs{0, {720, 240}}, rgba, why)) << why;
    EXPECT_TRUE(readFrame().pixels == canvas.pixels) << "the window's memory holds the frame on the canvas";
    std::vector<std::uint8_t> rgb;
    for (const std::uint32_t p : answer.pixels) {
        rgb.insert(rgb.end(), {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                               static_cast<std::uint8_t>(p)});
    }
    std::vector<std::uint8_t> expected;
    reduceFrame(rgb.data(), kWindowWidth, kWindowHeight, kWindowWidth * 3, kAnswerScale, expected);
    EXPECT_EQ(rgba.size(), static_cast<std::size_t>(kWindowWidth / 4 * kWindowHeight / 4 * 4));
    EXPECT_TRUE(rgba == expected) << "picture 4's frame, reduced";
    closeSceneWindow();
}
