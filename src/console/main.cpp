#include "console/console_platform.h"
#include "console/program.h"

#include <cstdio>
#include <cstring>

namespace {

const char* const kUsage =
    "usage: plotnik [--help] [--version]\n"
    "Without options it shows the menu of ten pictures on the console and opens the chosen one\n"
    "in a window; close the window to come back to the menu, %s or Ctrl-C to end.";

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
