// The console program's main body: the menu on the console and one window per answer.
#pragma once

#include "menu/menu.h"

#include <SDL.h>

#include <istream>

// Cycles of menu, answer and window until standard input ends; then returns.
void runProgram();

// Prints the ten menu lines, an empty line and the prompt.
void printMenu();

// One cycle: menu, answer, window with its frame loop, clean-up. False when the answer could not
// be read (end of input); nothing is opened then.
bool runCycle(std::istream& in);

// The three stages of a cycle, so that a test can queue events before the frames run.
bool beginCycle(std::istream& in);  // menu, answer, media library, window, renderer, fonts
void runFrameLoop();                // frames until a quit event has been taken
void endCycle();                    // releases everything beginCycle opened, clears the console

// One turn of the frame loop: samples the clock into app.frameTicks, takes at most one event
// (takeEvent), and draws the picture's whole frame at that clock and the pointer, the frame in
// which the quit event came included, and presents it. The loop is not paced.
void runOneFrame(const Picture& picture);

// What an event does to the window: a quit event ends the frame loop after this frame; every
// other event is dropped.
void takeEvent(const SDL_Event& event);
