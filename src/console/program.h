// The console program's main body: the menu on the console and one window per answer.
#pragma once

#include "console/picture_window.h"
#include "pictures/pictures.h"

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
void runFrameLoop();                // frames until a quit event has been taken (none without a window)
void endCycle();                    // releases everything beginCycle opened, clears the console

// One turn of the frame loop: samples the clock into app.frameTicks, takes at most one event
// (takeEvent), follows the mouse, and draws the picture's whole frame at the lesson's clock and
// pointer, the frame in which the quit event came included, and presents it. The loop is not
// paced.
void runOneFrame(const Picture& picture);

// What an event does to the window: a quit event ends the frame loop after this frame; a key
// does what pressKey says; the window moved under the mouse makes the mouse's place be asked of
// the screen until the mouse moves; every other event is dropped.
void takeEvent(const SDL_Event& event);
