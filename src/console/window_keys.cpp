// What each key does in the picture's window.
#include "console/window_keys.h"

#include "common/app_state.h"
#include "console/full_screen.h"
#include "console/picture_window.h"

namespace {

constexpr Uint16 kNotShift = KMOD_CTRL | KMOD_ALT | KMOD_GUI;

}  // namespace

bool lessonKeyFor(const SDL_Keysym& key, LessonKey& lessonKey)
{
    if ((key.mod & kNotShift) != 0) {
        return false;
    }
    switch (key.sym) {
    case SDLK_SPACE: lessonKey = kKeyHold; return true;
    case SDLK_LEFT: lessonKey = kKeyLeft; return true;
    case SDLK_RIGHT: lessonKey = kKeyRight; return true;
    case SDLK_UP: lessonKey = kKeyUp; return true;
    case SDLK_DOWN: lessonKey = kKeyDown; return true;
    case SDLK_MINUS:
    case SDLK_KP_MINUS: lessonKey = kKeySlower; return true;
    case SDLK_PLUS:
    case SDLK_EQUALS:
    case SDLK_KP_PLUS: lessonKey = kKeyFaster; return true;
    default: return false;
    }
}

WindowKey windowKeyFor(const SDL_Keysym& key)
{
    const bool ctrl = (key.mod & KMOD_CTRL) != 0;
    const bool alt = (key.mod & KMOD_ALT) != 0;
    if (key.sym == SDLK_F11 && !ctrl && !alt) {
        return kKeyFullScreen;
    }
    if ((key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER) && alt && !ctrl) {
        return kKeyFullScreen;
    }
    if (key.sym == SDLK_ESCAPE && !ctrl && !alt) {
        return kKeyLeaveFullScreen;
    }
    if (key.sym == SDLK_s && ctrl && !alt) {
        return kKeySaveFrame;
    }
    return kNoWindowKey;
}

void pressKey(const SDL_KeyboardEvent& key)
{
    const bool repeated = key.repeat != 0;
    switch (windowKeyFor(key.keysym)) {
    case kKeyFullScreen:
        if (!repeated) {
            setFullScreen(!pictureWindow.fullScreen);
        }
        return;
    case kKeyLeaveFullScreen:
        setFullScreen(false);
        return;
    case kKeySaveFrame:
        pictureWindow.saveFrame = pictureWindow.saveFrame || !repeated;
        return;
    case kNoWindowKey:
        break;
    }
    LessonKey lessonKey = kKeyHold;
    if (lessonKeyFor(key.keysym, lessonKey) && !(lessonKey == kKeyHold && repeated)) {
        pressLessonKey(pictureWindow.lesson, lessonKey, (key.keysym.mod & KMOD_SHIFT) != 0, app.frameTicks);
    }
}
