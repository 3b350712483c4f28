// plotnik-snapshot: writes the frame a menu answer draws, at a chosen clock and mouse position,
// to a PNG, without a display. With --frames it writes a numbered series for slides, or one
// animated GIF when the file name ends in .gif.
#include "common/app_state.h"
#include "common/files.h"
#include "common/frame_inputs.h"
#include "common/window.h"
#include "exporter/exporter_platform.h"
#include "exporter/gif_writer.h"
#include "menu/menu.h"

#include <SDL.h>
#include <SDL_image.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "usage: plotnik-snapshot ANSWER [--ticks MS] [--mouse X,Y] [--out FILE]"
    " [--frames N [--every MS]] [--help] [--version]";
const char* const kGifUsage =
    "With --out NAME.gif the frames become one animated GIF that loops for ever, each frame shown\n"
    "for --every MS rounded to the nearest hundredth of a second (halves up, at least one);\n"
    "--every 0 keeps the clock still, so the GIF is one still picture. Without --frames it holds\n"
    "the one frame.";
constexpr std::uint64_t kMaxFrames = 10000;

struct Options {
    std::string answer;
    bool haveAnswer = false;
    std::uint64_t ticks = 0;
    SDL_Point mouse{0, 0};
    std::string out = "snapshot.png";
    long frames = 0;  // 0: a single picture named exactly --out
    std::uint64_t every = 40;
};

int usageError(const std::string& why)
{
    std::fprintf(stderr, "plotnik-snapshot: %s\n%s\n", why.c_str(), kUsage);
    return 2;
}

// Returns -1 when the options are good, otherwise the exit status (usage printed).
int parseOptions(const std::vector<std::string>& argv, Options& o)
{
    const int argc = static_cast<int>(argv.size());
    bool everyGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::printf("%s\n%s\n", kUsage, kGifUsage);
            return 0;
        }
        if (arg == "--version") {
            std::printf("plotnik %s\n", PLOTNIK_VERSION);
            return 0;
        }
        const bool takesValue = arg == "--ticks" || arg == "--mouse" || arg == "--out" ||
                                arg == "--frames" || arg == "--every";
        if (takesValue && i + 1 >= argc) {
            return usageError(arg + " needs a value");
        }
        if (arg == "--ticks") {
            if (!parseUnsigned(argv[++i], kMaxTicks, o.ticks)) {
                return usageError(std::string("--ticks takes 0 to 4294967295, not '") + argv[i] + "'");
            }
        } else if (arg == "--mouse") {
            if (!parseMousePosition(argv[++i], o.mouse)) {
                return usageError(std::string("--mouse takes X,Y, each -32768 to 32767, not '") +
                                  argv[i] + "'");
            }
        } else if (arg == "--out") {
            o.out = argv[++i];
            if (o.out.empty()) {
                return usageError("--out needs a file name");
            }
        } else if (arg == "--frames") {
            std::uint64_t n = 0;
            if (!parseUnsigned(argv[++i], kMaxFrames, n) || n < 1) {
                return usageError(std::string("--frames takes 1 to 10000, not '") + argv[i] + "'");
            }
            o.frames = static_cast<long>(n);
        } else if (arg == "--every") {
            if (!parseUnsigned(argv[++i], kMaxTicks, o.every)) {
                return usageError(std::string("--every takes 0 to 4294967295, not '") + argv[i] + "'");
            }
            everyGiven = true;
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return usageError("unknown option '" + arg + "'");
        } else if (o.haveAnswer) {
            return usageError("one menu answer only, not also '" + arg + "'");
        } else {
            o.answer = arg;
            o.haveAnswer = true;
        }
    }
    if (!o.haveAnswer) {
        return usageError("the menu answer is missing");
    }
    if (everyGiven && o.frames == 0) {
        return usageError("--every goes with --frames");
    }
    if (o.frames > 1 && o.ticks + static_cast<std::uint64_t>(o.frames - 1) * o.every > kMaxTicks) {
        return usageError("the last frame's clock would pass 4294967295");
    }
    return -1;
}

// Set by SIGINT or SIGTERM: the series stops after the frame being written, and nothing
// half-written is left.
volatile std::sig_atomic_t stopSignal = 0;

extern "C" void onStopSignal(int signal) { stopSignal = signal; }

// NAME.gif, in any case, asks for an animated GIF.
bool isGifName(const std::string& out)
{
    const std::string gif = ".gif";
    if (out.size() <= gif.size()) {
        return false;
    }
    for (std::size_t i = 0; i < gif.size(); ++i) {
        const char c = out[out.size() - gif.size() + i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != gif[i]) {
            return false;
        }
    }
    return true;
}

// NAME.png and k give NAME-00k.png.
std::string seriesName(const std::string& out, long k)
{
    std::string stem = out;
    const std::string png = ".png";
    if (stem.size() > png.size() && stem.compare(stem.size() - png.size(), png.size(), png) == 0) {
        stem.resize(stem.size() - png.size());
    }
    char number[24];
    std::snprintf(number, sizeof number, "-%03ld", k);
    return stem + number + png;
}

// Draws one frame as the window does into pixels; false (message printed) on failure.
bool drawInto(const Options& o, std::uint32_t ticks, SDL_Surface* pixels)
{
    drawFrame(pictureFor(o.answer), FrameInputs{ticks, o.mouse});
    if (SDL_RenderReadPixels(app.renderer, nullptr, pixels->format->format, pixels->pixels,
                             pixels->pitch) != 0) {
        std::fprintf(stderr, "plotnik-snapshot: reading the frame: %s\n", SDL_GetError());
        return false;
    }
    return true;
}

// Draws one frame and writes it as a PNG; false (message printed) on failure.
bool writeFrame(const Options& o, std::uint32_t ticks, const std::string& path, SDL_Surface* pixels)
{
    if (!drawInto(o, ticks, pixels)) {
        return false;
    }
    // Written beside the target and renamed over it, so a failed write leaves no partial file.
    const std::string partial = path + ".partial";
    if (IMG_SavePNG(pixels, partial.c_str()) != 0) {
        std::fprintf(stderr, "plotnik-snapshot: cannot write %s: %s\n", path.c_str(), SDL_GetError());
        removeFile(partial);
        return false;
    }
    if (!replaceFile(partial, path)) {
        std::fprintf(stderr, "plotnik-snapshot: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
        removeFile(partial);
        return false;
    }
    return true;
}

void reportProgress(long k, long n)
{
    if (isatty(STDERR_FILENO)) {
        std::fprintf(stderr, "\rframe %ld of %ld", k, n);
        if (k == n) {
            std::fprintf(stderr, "\n");
        }
    } else {
        std::fprintf(stderr, "frame %ld of %ld\n", k, n);
    }
}

int exportPngs(const Options& o, SDL_Surface* pixels)
{
    if (o.frames == 0) {
        return writeFrame(o, static_cast<std::uint32_t>(o.ticks), o.out, pixels) ? 0 : 1;
    }
    int status = 0;
    for (long k = 0; k < o.frames && status == 0 && stopSignal == 0; ++k) {
        const std::uint64_t ticks = o.ticks + static_cast<std::uint64_t>(k) * o.every;
        status = writeFrame(o, static_cast<std::uint32_t>(ticks), seriesName(o.out, k), pixels) ? 0 : 1;
        if (o.frames > 1) {
            reportProgress(k + 1, o.frames);
        }
    }
    return status;
}

// The frames as one animated GIF; without --frames, a GIF of the one frame.
int exportGif(const Options& o, SDL_Surface* pixels)
{
    GifSeries gif;
    if (!gifBegin(gif, o.out, kWindowWidth, kWindowHeight)) {
        std::fprintf(stderr, "plotnik-snapshot: %s\n", gif.error.c_str());
        return 1;
    }
    const long frames = o.frames == 0 ? 1 : o.frames;
    for (long k = 0; k < frames; ++k) {
        const std::uint64_t ticks = o.ticks + static_cast<std::uint64_t>(k) * o.every;
        if (!drawInto(o, static_cast<std::uint32_t>(ticks), pixels)) {
            gifAbandon(gif);
            return 1;
        }
        if (!gifAddFrame(gif, static_cast<const std::uint8_t*>(pixels->pixels),
                         static_cast<std::size_t>(pixels->pitch), gifDelay(o.every))) {
            std::fprintf(stderr, "plotnik-snapshot: %s\n", gif.error.c_str());
            gifAbandon(gif);
            return 1;
        }
        if (frames > 1) {
            reportProgress(k + 1, frames);
        }
        if (stopSignal != 0) {
            gifAbandon(gif);
            return 1;
        }
    }
    if (!gifFinish(gif)) {
        std::fprintf(stderr, "plotnik-snapshot: %s\n", gif.error.c_str());
        return 1;
    }
    return 0;
}

int exportFrames(const Options& o)
{
    SDL_Surface* pixels = SDL_CreateRGBSurfaceWithFormat(0, kWindowWidth, kWindowHeight, 24,
                                                         SDL_PIXELFORMAT_RGB24);
    if (pixels == nullptr) {
        std::fprintf(stderr, "plotnik-snapshot: %s\n", SDL_GetError());
        return 1;
    }
    const int status = isGifName(o.out) ? exportGif(o, pixels) : exportPngs(o, pixels);
    SDL_FreeSurface(pixels);
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    const int parsed = parseOptions(argumentsInUtf8(argc, argv), options);
    if (parsed >= 0) {
        return parsed;
    }

    // Ctrl-C and SIGTERM stop a long series cleanly; SDL would turn them into events nobody reads.
    catchStopSignals(onStopSignal);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");

    // Always headless, whatever display there is.
    int status = 1;
    if (!openWindow(kHeadless)) {
        std::fprintf(stderr, "plotnik-snapshot: no window to draw in: %s\n", SDL_GetError());
    } else {
        status = exportFrames(options);
        closeWindow();
    }
    if (stopSignal != 0) {
        // Ended by the signal, as the shell expects.
        std::signal(stopSignal, SIG_DFL);
        std::raise(stopSignal);
    }
    return status;
}
