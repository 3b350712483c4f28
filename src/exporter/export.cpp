// The exporter's work: its command line read, and the frames drawn and written as PNG files or
// one animated GIF, each written beside its name and renamed into place when whole.
#include "exporter/export.h"

#include "common/app_state.h"
#include "common/frame_inputs.h"
#include "common/frame_pixels.h"
#include "common/gif_encoder.h"
#include "common/picture_file.h"
#include "pictures/frame_series.h"
#include "pictures/pictures.h"

#include <SDL.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

namespace {

constexpr std::uint64_t kMaxFrames = 10000;

constexpr std::size_t kExtensionSize = 4;  // ".png", ".gif"

// Says what was wrong with the command line; false.
bool wrong(std::string& why, const std::string& what)
{
    why = what;
    return false;
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

bool parseOptions(const std::vector<std::string>& argv, Options& o, std::string& why)
{
    const int argc = static_cast<int>(argv.size());
    bool everyGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            o.request = kShowHelp;
            return true;
        }
        if (arg == "--version") {
            o.request = kShowVersion;
            return true;
        }
        const bool takesValue = arg == "--ticks" || arg == "--mouse" || arg == "--out" ||
                                arg == "--frames" || arg == "--every";
        if (takesValue && i + 1 >= argc) {
            return wrong(why, arg + " needs a value");
        }
        if (arg == "--ticks") {
            if (!parseUnsigned(argv[++i], kMaxTicks, o.ticks)) {
                return wrong(why, std::string("--ticks takes 0 to 4294967295, not '") + argv[i] + "'");
            }
        } else if (arg == "--mouse") {
            if (!parseMousePosition(argv[++i], o.mouse)) {
                return wrong(why, std::string("--mouse takes X,Y, each -32768 to 32767, not '") +
                                  argv[i] + "'");
            }
        } else if (arg == "--out") {
            o.out = argv[++i];
            if (o.out.empty()) {
                return wrong(why, "--out needs a file name");
            }
            if (!outputKindOf(o.out, o.kind)) {
                return wrong(why, "--out takes a name ending in .png or .gif (in any case), not '" + o.out + "'");
            }
        } else if (arg == "--frames") {
            std::uint64_t n = 0;
            if (!parseUnsigned(argv[++i], kMaxFrames, n) || n < 1) {
                return wrong(why, std::string("--frames takes 1 to 10000, not '") + argv[i] + "'");
            }
            o.frames = static_cast<long>(n);
        } else if (arg == "--every") {
            if (!parseUnsigned(argv[++i], kMaxTicks, o.every)) {
                return wrong(why, std::string("--every takes 0 to 4294967295, not '") + argv[i] + "'");
            }
            everyGiven = true;
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return wrong(why, "unknown option '" + arg + "'");
        } else if (o.haveAnswer) {
            return wrong(why, "one menu answer only, not also '" + arg + "'");
        } else {
            o.answer = arg;
            o.haveAnswer = true;
        }
    }
    if (!o.haveAnswer) {
        return wrong(why, "the menu answer is missing");
    }
    if (everyGiven && o.frames == 0) {
        return wrong(why, "--every goes with --frames");
    }
    if (o.frames > 1 && o.ticks + static_cast<std::uint64_t>(o.frames - 1) * o.every > kMaxTicks) {
        return wrong(why, "the last frame's clock would pass 4294967295");
    }
    return true;
}

volatile std::sig_atomic_t stopSignal = 0;

extern "C" void onStopSignal(int signal) { stopSignal = signal; }

namespace {

// Why a picture cannot be written: "cannot write PATH: WHY"; false.
bool cannotWrite(std::string& why, const std::string& path, const std::string& reason)
{
    why = "cannot write " + path + ": " + reason;
    return false;
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

// The GIF's failure in words, the file's own reason for a refused write.
bool gifFailed(const Output& out, std::string& why)
{
    const std::string sinkWhy = out.gifFile.writeErrno != 0 ? std::strerror(out.gifFile.writeErrno) : "";
    return cannotWrite(why, out.gifFile.path, gifErrorWords(out.gif, kEnglish, sinkWhy));
}

// Drops the GIF being written; finished PNGs stay.
void abandonOutput(Output& out)
{
    gifAbandon(out.gif);
    abandonPartial(out.gifFile);
}

// Opens the GIF's partial file (PNGs are written whole, one by one).
bool beginOutput(Output& out, const Options& o, std::string& why)
{
    out.kind = o.kind;
    if (out.kind == kPng) {
        return true;
    }
    std::string reason;
    if (!openPartial(out.gifFile, o.out, reason)) {
        return cannotWrite(why, o.out, reason);
    }
    return gifBegin(out.gif, writeToPartial, &out.gifFile, kWindowWidth, kWindowHeight) || gifFailed(out, why);
}

// Draws frame k and hands it over: as the PNG --out names (or the series' k-th), or to the GIF.
bool putFrame(Output& out, const Options& o, const FrameSeries& series, long k, SDL_Surface* pixels,
              std::string& why)
{
    if (out.kind == kGif) {
        std::string reason;
        if (addSeriesFrameToGif(series, k, nullptr, pixels, out.gif, gifDelay(o.every), kEnglish, reason)) {
            return true;
        }
        return out.gif.error != kGifOk ? gifFailed(out, why) : (why = reason, false);
    }
    std::string reason;
    if (!drawSeriesFrame(series, k, nullptr, pixels, reason)) {
        why = "reading the frame: " + reason;
        return false;
    }
    const std::string path = o.frames == 0 ? o.out : seriesName(o.out, k);
    return writePictureFile(pixels, path, true, reason) == kPictureWritten || cannotWrite(why, path, reason);
}

// Ends the GIF and moves it into place; nothing is left on failure.
bool finishOutput(Output& out, std::string& why)
{
    if (out.kind == kPng) {
        return true;
    }
    if (!gifFinish(out.gif)) {
        abandonPartial(out.gifFile);
        return gifFailed(out, why);
    }
    std::string reason;
    return finishPartial(out.gifFile, true, reason) == kPictureWritten || cannotWrite(why, out.gifFile.path, reason);
}

}  // namespace

bool exportFrames(const Options& o, std::string& why)
{
    SDL_Surface* pixels = makeFramePixels(why);
    if (pixels == nullptr) {
        return false;
    }
    const FrameSeries series{&pictureFor(o.answer), FrameInputs{static_cast<std::uint32_t>(o.ticks), o.mouse}, o.every};
    Output out;
    bool ok = beginOutput(out, o, why);
    const long frames = o.frames == 0 ? 1 : o.frames;
    for (long k = 0; ok && k < frames; ++k) {
        ok = putFrame(out, o, series, k, pixels, why);
        if (ok && frames > 1) {
            reportProgress(k + 1, frames);
        }
        ok = ok && stopSignal == 0;
    }
    ok = ok ? finishOutput(out, why) : (abandonOutput(out), false);
    SDL_FreeSurface(pixels);
    return ok;
}
