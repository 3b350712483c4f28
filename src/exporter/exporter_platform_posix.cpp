// The exporter on Linux and other POSIX systems: arguments are already UTF-8 bytes.
#include "exporter/exporter_platform.h"

#include <csignal>

std::vector<std::string> argumentsInUtf8(int argc, char** argv)
{
    return std::vector<std::string>(argv, argv + argc);
}

void catchStopSignals(void (*onStop)(int))
{
    struct sigaction stop {};
    stop.sa_handler = onStop;
    sigemptyset(&stop.sa_mask);
    sigaction(SIGINT, &stop, nullptr);
    sigaction(SIGTERM, &stop, nullptr);
}
