// A terminal on Linux and other POSIX systems: UTF-8 already, cleared with the terminal's codes.
#include "console/console_platform.h"

#include <unistd.h>

#include <iostream>

const char* const kEndOfInputKeys = "Ctrl-D";

void prepareConsole() {}

void clearConsole()
{
    if (isatty(STDOUT_FILENO)) {
        std::cout << "\033[2J\033[H" << std::flush;
    }
}
