// The page's redraw decisions and its constants for page.js.
#include "web/page_state.h"

#include "common/app_state.h"

#include <string>

bool frameMustBeDrawn(const PageState& page, const FrameInputs& now)
{
    if (!page.frameOnCanvas) {
        return true;
    }
    switch (page.lesson.steering) {
    case kSteeredByClock:
        return now.ticks != page.drawn.ticks;
    case kSteeredByMouse:
        return now.mouse.x != page.drawn.mouse.x || now.mouse.y != page.drawn.mouse.y;
    case kSteeredByNothing:
        break;
    }
    return false;
}

bool mayRest(const PageState& page)
{
    return page.frameOnCanvas && (page.lesson.steering != kSteeredByClock || isHeld(page.lesson));
}

std::string pageConstants()
{
    const auto pair = [](const char* name, long long value) {
        return std::string("\"") + name + "\":" + std::to_string(value);
    };
    std::string keys;
    const char* const kKeyNames[kLessonKeyCount] = {"hold", "left", "right", "up", "down", "slower", "faster"};
    for (int k = 0; k < kLessonKeyCount; ++k) {
        keys += (k == 0 ? "" : ",") + pair(kKeyNames[k], k);
    }
    return "{\"shows\":{" + pair("refused", kShowsRefused) + "," + pair("menu", kShowsMenu) + "," +
           pair("live", kShowsLive) + "," + pair("frozen", kShowsFrozen) + "}," +
           "\"steering\":{" + pair("nothing", kSteeredByNothing) + "," + pair("clock", kSteeredByClock) + "," +
           pair("mouse", kSteeredByMouse) + "}," +
           "\"frame\":{" + pair("width", kWindowWidth) + "," + pair("height", kWindowHeight) + "}," +
           "\"keys\":{" + keys + "}}";
}
