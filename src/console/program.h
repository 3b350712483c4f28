// The console program's main body: the menu on the console and one window per answer.
#pragma once

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
