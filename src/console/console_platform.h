// What the console program needs from the console it runs in.
#pragma once

// The keys that end standard input on this system's console, for the usage text.
extern const char* const kEndOfInputKeys;

// Makes the console show the menu's Polish letters (UTF-8); called once at the start.
void prepareConsole();

// Clears the console after a window closes; a pipe or file gets nothing, so transcripts stay
// clean.
void clearConsole();
