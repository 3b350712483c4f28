// The exporter's work: its command line read, and the frames drawn and written as PNG files or
// one animated GIF, each written beside its name and renamed into place when whole.
#include "exporter/export.h"

#include "common/app_state.h"
#include "common/frame_inputs.h"
#include "common/gif_encoder.h"
#include "common/picture_file.h"
#include "menu/menu.h"

#include <SDL.h>
#include <unistd.h>

#include <cerrno>
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
const char* const kHelp =
    "--out takes NAME.png or NAME.gif, the extension in any case; with --frames the PNGs are\n"
    "NAME-000.png, NAME-001.png, ...\n"
    "With --out NAME.gif the frames become one animated GIF that loops for ever, each frame shown\n"
    "for --every MS rounded to the nearest hundredth of a second (halves up, at least one);\n"
    "--every 0 keeps the clock still, so the GIF is one still picture. Without --frames it holds\n"
    "the one frame.";
constexpr std::uint64_t kMaxFrames = 10000;

constexpr std::size_t kExtensionSize = 4;  // ".png", ".gif"

int usageError(const std::string& why)
{
    std::fprintf(stderr, "plotnik-snapshot: %s\n%s\n", why.c_str(), kUsage);
    return 2;
}

}  // namespace

bool outputKindOf(const std::string& out, OutputKind& kind)
{
    if (out.size() <= kExtensionSize) {
        return false;
    }
    std::string extension = out.substr(out.size() - kExtensionSize);
    for (char& c : extension) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    if (extension != ".png" && extension != ".gif") {
        return false;
    }
    kind = extension == ".gif" ? kGif : kPng;
    return true;
}

std::string seriesName(const std::string& out, long k)
{
    char number[24];
    std::snprintf(number, sizeof number, "-%03ld", k);
    const std::size_t stem = out.size() - kExtensionSize;
    return out.substr(0, stem) + number + out.substr(stem);
}

int parseOptions(const std::vector<std::string>& argv, Options& o)
{
    const int argc = static_cast<int>(argv.size());
    bool everyGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::printf("%s\n%s\n", kUsage, kHelp);
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
            if (!outputKindOf(o.out, o.kind)) {
                return usageError("--out takes a name ending in .png or .gif (in any case), not '" + o.out + "'");
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

volatile std::sig_atomic_t stopSignal = 0;

extern "C" void onStopSignal(int signal) { stopSignal = signal; }

namespace {

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

// Prints why a picture cannot be written; false.
bool cannotWrite(const std::string& path, const std::string& why)
{
    std::fprintf(stderr, "plotnik-snapshot: cannot write %s: %s\n", path.c_str(), why.c_str());
    return false;
}

// Writes the frame as a PNG, replacing a file of that name; false (message printed, nothing
// left) on failure.
bool writePng(SDL_Surface* pixels, const std::string& path)
{
    std::string why;
    return writePictureFile(pixels, path, true, why) == kPictureWritten || cannotWrite(path, why);
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

// Where the frames go: PNG files (the one --out names, or a numbered series), or one GIF,
// encoded into its partial file as the frames come.
struct Output {
    OutputKind kind = kPng;
    PartialFile gifFile;
    GifEncoder gif;
};

// Prints why the GIF cannot be written; false.
bool gifFailed(const Output& out, GifError error)
{
    std::string why = "out of memory";
    if (error == kGifTooManyColours) {
        why = "frame " + std::to_string(out.gif.frames) +
              " has more than 256 colours, and a GIF frame holds at most 256 (PNG has no such limit)";
    } else if (error == kGifWriteFailed) {
        why = std::strerror(out.gifFile.writeErrno);
    } else if (error == kGifNoFrames) {
        why = "no frames";
    }
    return cannotWrite(out.gifFile.path, why);
}

// Drops the GIF being written; finished PNGs stay.
void abandonOutput(Output& out)
{
    gifAbandon(out.gif);
    abandonPartial(out.gifFile);
}

// Opens the GIF's partial file (PNGs are written whole, one by one); false (message printed) on
// failure.
bool beginOutput(Output& out, const Options& o)
{
    out.kind = o.kind;
    if (out.kind == kPng) {
        return true;
    }
    std::string why;
    if (!openPartial(out.gifFile, o.out, why)) {
        return cannotWrite(o.out, why);
    }
    const GifError error = gifBegin(out.gif, writeToPartial, &out.gifFile, kWindowWidth, kWindowHeight);
    return error == kGifOk || gifFailed(out, error);
}

// Hands frame k over: as the PNG --out names (or the series' k-th), or to the GIF; false (message
// printed) on failure.
bool putFrame(Output& out, const Options& o, long k, SDL_Surface* pixels)
{
    if (out.kind == kPng) {
        return writePng(pixels, o.frames == 0 ? o.out : seriesName(o.out, k));
    }
    const GifError error = gifAddFrame(out.gif, static_cast<const std::uint8_t*>(pixels->pixels),
                                       static_cast<std::size_t>(pixels->pitch), gifDelay(o.every));
    return error == kGifOk || gifFailed(out, error);
}

// Ends the GIF and moves it into place; false (message printed, nothing left) on failure.
bool finishOutput(Output& out)
{
    if (out.kind == kPng) {
        return true;
    }
    const GifError error = gifFinish(out.gif);
    if (error != kGifOk) {
        abandonPartial(out.gifFile);
        return gifFailed(out, error);
    }
    std::string why;
    return finishPartial(out.gifFile, true, why) == kPictureWritten || cannotWrite(out.gifFile.path, why);
}

}  // namespace

int exportFrames(const Options& o)
{
    SDL_Surface* pixels = SDL_CreateRGBSurfaceWithFormat(0, kWindowWidth, kWindowHeight, 24,
                                                         SDL_PIXELFORMAT_RGB24);
    if (pixels == nullptr) {
        std::fprintf(stderr, "plotnik-snapshot: %s\n", SDL_GetError());
        return 1;
    }
    Output out;
    bool ok = beginOutput(out, o);
    const long frames = o.frames == 0 ? 1 : o.frames;
    for (long k = 0; ok && k < frames; ++k) {
        const std::uint64_t ticks = o.ticks + static_cast<std::uint64_t>(k) * o.every;
        ok = drawInto(o, static_cast<std::uint32_t>(ticks), pixels) && putFrame(out, o, k, pixels);
        if (ok && frames > 1) {
            reportProgress(k + 1, frames);
        }
        ok = ok && stopSignal == 0;
    }
    ok = ok ? finishOutput(out) : (abandonOutput(out), false);
    SDL_FreeSurface(pixels);
    return ok ? 0 : 1;
}
