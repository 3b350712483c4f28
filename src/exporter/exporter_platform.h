// What the exporter needs from the system it runs on.
#pragma once

#include <string>
#include <vector>

// The command line's arguments in UTF-8, the program's name first.
std::vector<std::string> argumentsInUtf8(int argc, char** argv);

// Ctrl-C (and, where there is one, SIGTERM) call onStop with the signal's number.
void catchStopSignals(void (*onStop)(int));
