#include "console/program.h"

#include <cstdio>
#include <cstring>

namespace {

const char* const kUsage =
    "usage: plotnik [--help] [--version]\n"
    "Without options it shows the menu of ten pictures on the console and opens the chosen one\n"
    "in a window; close the window to come back to the menu, Ctrl-D or Ctrl-C to end.";

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
        std::printf("%s\n", kUsage);
        return 0;
    }
    if (argc > 2) {
        std::fprintf(stderr, "plotnik: one option at most\n%s\n", kUsage);
    } else {
        std::fprintf(stderr, "plotnik: unknown option '%s'\n%s\n", argv[1], kUsage);
    }
    return 2;
}
