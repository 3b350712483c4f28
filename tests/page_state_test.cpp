// The page's decisions: a live picture is drawn again only when what steers it has moved, and it
// stops taking turns only when nothing but the page can change its frame; and the constants
// page.js reads are the program's own.
#include "web/page_state.h"

#include <gtest/gtest.h>

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
    for (const auto& c : cases) {
        const std::size_t at = json.find(c.name);
        ASSERT_NE(at, std::string::npos) << c.name << " in " << json;
        EXPECT_EQ(std::stoll(json.substr(at + std::string(c.name).size())), c.value) << c.name;
    }
    EXPECT_EQ(json.front(), '{');
    EXPECT_EQ(json.back(), '}');
}
