// A Windows console (cmd.exe, PowerShell): told to read our output as UTF-8, and cleared as "cls"
// clears it, through the console's own calls, so that no escape codes are printed as text.
#include "console/console_platform.h"

#include <windows.h>

#include <iostream>

const char* const kEndOfInputKeys = "Ctrl-Z then Enter";

void prepareConsole()
{
    SetConsoleOutputCP(CP_UTF8);
    SetConsoleCP(CP_UTF8);
}

void clearConsole()
{
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(out, &info)) {
        return;  // not a console
    }
    std::cout << std::flush;
    const DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
    const COORD home{0, 0};
    DWORD written = 0;
    FillConsoleOutputCharacterW(out, L' ', cells, home, &written);
    FillConsoleOutputAttribute(out, info.wAttributes, cells, home, &written);
    SetConsoleCursorPosition(out, home);
}
