#include "console/console_platform.h"
#include "console/program.h"

#include <cstdio>
#include <cstring>

namespace {

const char* const kUsage =
    "usage: plotnik [--help] [--version]\n"
    "Without options it shows the menu of ten pictures on the console and opens the chosen one\n"
    "in a window; close the window to come back to the menu, %s or Ctrl-C to end.\n"
    "Keys in the picture's window:\n"
    "  Space           hold a moving picture, or let it run on\n"
    "  Left, Right     a held clock 40 ms back or on (Shift: 1 s); on the mouse pictures\n"
    "                  the pointer one pixel left or right (Shift: ten)\n"
    "  Up, Down        on the mouse pictures the pointer one pixel up or down (Shift: ten)\n"
    "  -, +            the clock slower or faster: 0.25, 0.5, 1 or 2 times its pace\n"
    "  F11, Alt+Enter  full screen and back (Escape leaves it)\n"
    "  Ctrl+S          save the frame on screen as a PNG in the current folder";

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 1) {
        runProgram();
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("plotnik %s\n", PLOTNIK_VERSION);
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf(kUsage, kEndOfInputKeys);
        std::printf("\n");
        return 0;
    }
    if (argc > 2) {
        std::fprintf(stderr, "plotnik: one option at most\n");
    } else {
        std::fprintf(stderr, "plotnik: unknown option '%s'\n", argv[1]);
    }
    std::fprintf(stderr, kUsage, kEndOfInputKeys);
    std::fprintf(stderr, "\n");
    return 2;
}
