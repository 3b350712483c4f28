// The console program's main body: the menu on the console and one window per answer.
#pragma once

#include "menu/lesson.h"
#include "menu/menu.h"

#include <SDL.h>

#include <istream>
#include <string>

// Cycles of menu, answer and window until standard input ends; then returns.
void runProgram();

// Prints the ten menu lines, an empty line and the prompt.
void printMenu();

// The next menu answer: leading white space skipped, then everything up to the next white space
// or the end of input. False at the end of input, and answer keeps what it held.
bool readAnswer(std::istream& in, std::string& answer);

// One cycle: menu, answer, window with its frame loop, clean-up. False when the answer could not
// be read (end of input); nothing is opened then.
bool runCycle(std::istream& in);

// The three stages of a cycle, so that a test can queue events before the frames run.
bool beginCycle(std::istream& in);  // menu, answer, media library, window, renderer, fonts
void runFrameLoop();                // frames until a quit event has been taken
void endCycle();                    // releases everything beginCycle opened, clears the console

// What the keys have made of this cycle's window. Until a key is pressed the picture runs with
// the media library's clock and follows the mouse, frame for frame as it always has.
struct PictureWindow {
    Lesson lesson;                 // the picture's clock and pointer, held, stepped, sped up
    SDL_Point mouse{0, 0};         // the mouse at the last frame, in frame pixels
    SDL_Point unheldMouse{0, 0};   // the same, but not followed while the picture is held
    bool fullScreen = false;
    SDL_Texture* frame = nullptr;  // in full screen: the frame drawn at its own size, then scaled
    bool saveFrame = false;        // Ctrl+S: this frame is written to a file before it is shown
    // Since full screen was switched on or off the mouse has not moved: the media library still
    // gives the window's position of the mouse from before, mouseAtSwitch, and the mouse stands
    // at mouseOnScreen on the screen.
    bool mouseStale = false;
    SDL_Point mouseAtSwitch{0, 0};
    SDL_Point mouseOnScreen{0, 0};
};
extern PictureWindow pictureWindow;

// One turn of the frame loop: samples the clock into app.frameTicks, takes at most one event
// (takeEvent), follows the mouse, and draws the picture's whole frame at the lesson's clock and
// pointer, the frame in which the quit event came included, and presents it. The loop is not
// paced.
void runOneFrame(const Picture& picture);

// What an event does to the window: a quit event ends the frame loop after this frame; a key
// does what pressKey says; every other event is dropped.
void takeEvent(const SDL_Event& event);

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

// Switches full screen on (the frame scaled to the whole screen, 16:9 kept, black bars) or off
// (the 1280 x 720 window as it was opened). A failure leaves the window as it is and says why on
// the console.
void setFullScreen(bool on);
