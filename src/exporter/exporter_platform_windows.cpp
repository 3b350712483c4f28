// The exporter on Windows: argv arrives in the ANSI code page, which has no room for every
// letter of a file name, so the arguments are read again as UTF-16 and turned into UTF-8.
#include "exporter/exporter_platform.h"

#include <windows.h>

#include <shellapi.h>

#include <csignal>

std::vector<std::string> argumentsInUtf8(int argc, char** argv)
{
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return std::vector<std::string>(argv, argv + argc);
    }
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string utf8(n > 0 ? static_cast<std::size_t>(n) : 1, '\0');
        if (n > 0) {
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, &utf8[0], n, nullptr, nullptr);
        }
        utf8.resize(utf8.size() - 1);
        arguments.push_back(utf8);
    }
    LocalFree(wide);
    return arguments;
}

void catchStopSignals(void (*onStop)(int))
{
    // Ctrl-C and Ctrl-Break; Windows has no SIGTERM that another program can send.
    std::signal(SIGINT, onStop);
    std::signal(SIGBREAK, onStop);
}
