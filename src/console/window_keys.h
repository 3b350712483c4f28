// The keys of the picture's window: the lesson keys, full screen and saving the frame.
#pragma once

#include "pictures/lesson.h"

#include <SDL.h>

// A key pressed in the window, at the frame's clock app.frameTicks. The lesson keys (lessonKeyFor)
// go to the picture's lesson; F11 and Alt+Enter switch full screen on and off, Escape leaves
// it; Ctrl+S saves this frame. A key held down repeats the arrows and the speeds only.
void pressKey(const SDL_KeyboardEvent& key);

// The lesson key an SDL key stands for: Space holds, the arrows step or move the pointer, '-'
// slows the clock down and '+' (or '=', the same key unshifted) speeds it up, on the main keys or
// the keypad. False for other keys, and with Ctrl, Alt or the system key held (Shift is the
// lesson's own).
bool lessonKeyFor(const SDL_Keysym& key, LessonKey& lessonKey);

// The window's own keys.
enum WindowKey { kNoWindowKey = 0, kKeyFullScreen = 1, kKeyLeaveFullScreen = 2, kKeySaveFrame = 3 };
WindowKey windowKeyFor(const SDL_Keysym& key);
