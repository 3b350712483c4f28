// The exporter's work, apart from its main so that tests and fuzzers can drive it: reading the
// command line, and drawing the frames it asks for into PNG files or one animated GIF.
#pragma once

#include <SDL.h>

#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

// What --out asks for by its extension: PNG files, or one animated GIF.
enum OutputKind { kPng, kGif };

// What a good command line asks for: frames, or the usage or version printed.
enum Request { kDrawFrames, kShowHelp, kShowVersion };

struct Options {
    Request request = kDrawFrames;
    std::string answer;
    bool haveAnswer = false;
    std::uint64_t ticks = 0;
    SDL_Point mouse{0, 0};
    std::string out = "snapshot.png";
    OutputKind kind = kPng;
    long frames = 0;  // 0: a single picture named exactly --out
    std::uint64_t every = 40;
};

// The kind of output a name's extension asks for, in any case: NAME.png or NAME.gif. False for
// any other name, one without an extension too.
bool outputKindOf(const std::string& out, OutputKind& kind);

// NAME.png and k give NAME-00k.png, the extension as it was written.
std::string seriesName(const std::string& out, long k);

// The usage line, and what --help adds to it.
extern const char* const kUsage;
extern const char* const kHelp;

// Reads the arguments (the program's name first) into o. False, with why (what was wrong), when
// they are not good; --help and --version are good, and set o.request.
bool parseOptions(const std::vector<std::string>& argv, Options& o, std::string& why);

// Set by SIGINT or SIGTERM (onStopSignal): a series stops after the frame being written, and
// nothing half-written is left.
extern volatile std::sig_atomic_t stopSignal;
extern "C" void onStopSignal(int signal);

// Draws the frames the options ask for into the open window and writes them: the clock going up
// by --every from --ticks, each frame handed to the output, its progress reported on stderr, and
// the stop signal heeded once it is done. False, with why and nothing half-written left, unless
// every file is written.
bool exportFrames(const Options& o, std::string& why);
