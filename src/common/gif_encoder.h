// An animated GIF made frame by frame, without loss: every stored frame carries the exact colours
// of its picture (a GIF frame holds at most 256), a frame equal to the one before only lengthens
// that one's delay, and a changed frame stores just the rectangle that changed. It loops for
// ever. The bytes go, as they are made, to a sink of the caller's (a file, a buffer in memory):
// the encoder knows no files and no system, only giflib.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct GifFileType;

// Takes the next size bytes of the GIF; false when it cannot, and then it is not called again.
using GifWrite = bool (*)(void* context, const std::uint8_t* bytes, std::size_t size);

// Why a call failed, kept in the encoder (gif.error) for gifErrorWords to put into words.
enum GifError {
    kGifOk = 0,
    kGifTooManyColours,  // frame number gif.frames has more than 256 colours
    kGifWriteFailed,     // the sink refused bytes
    kGifOutOfMemory,     // giflib could not allocate its state or a colour map
    kGifNoFrames,        // finished without a single frame
};

// The GIF's pixels: 3 bytes, red, green and blue.
constexpr int kGifBytesPerPixel = 3;

struct GifRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// The state of one GIF being made; use it only through the functions below.
struct GifEncoder {
    GifWrite write = nullptr;  // null once finished or abandoned: nothing more goes out
    void* context = nullptr;
    bool refused = false;  // the sink refused bytes, and is not called again
    int width = 0, height = 0;
    GifFileType* file = nullptr;
    long frames = 0;  // frames given, the one being added included
    GifError error = kGifOk;  // why the last call failed
    std::vector<std::uint8_t> shown;  // RGB of the picture once the pending frame is shown
    // The last distinct frame, stored when the next distinct frame (or the end) fixes its delay.
    GifRect pendingRect;
    std::vector<std::uint32_t> pendingPalette;  // 0xRRGGBB
    std::vector<std::uint8_t> pendingIndices;   // pendingRect's pixels, row by row
    std::uint64_t pendingDelay = 0;              // hundredths of a second
    std::vector<std::uint32_t> globalPalette;   // the first frame's colours
};

// The delay of one frame for a clock step of ms milliseconds: to the nearest hundredth of a
// second (halves up), at least 1; 0 only for 0, where the clock stands still.
std::uint64_t gifDelay(std::uint64_t ms);

// Each call answers false when it fails, gif.error saying why.

// Starts a width x height animation whose bytes go to write(context, ...); nothing is written
// yet. giflib keeps gif's address: it stays where it is until finished or abandoned.
bool gifBegin(GifEncoder& gif, GifWrite write, void* context, int width, int height);

// Adds a frame of 3-byte RGB pixels, rows pitch bytes apart, shown for delay hundredths. A frame
// is written once the next distinct one (or the end) fixes its delay. On failure call gifAbandon.
bool gifAddFrame(GifEncoder& gif, const std::uint8_t* rgb, std::size_t pitch, std::uint64_t delay);

// Writes the last frame and the end of the GIF, and releases the encoder, failed or not; the GIF
// is whole only when this answers true.
bool gifFinish(GifEncoder& gif);

// Releases the encoder without writing anything more; harmless when there is nothing to release.
void gifAbandon(GifEncoder& gif);

// The words a front end says why the GIF failed with (gif.error): the page's in Polish, the
// exporter's command line in English. A sink that refused bytes gives its own reason, sinkWhy.
enum Language { kPolish, kEnglish };
std::string gifErrorWords(const GifEncoder& gif, Language language, const std::string& sinkWhy = "");
