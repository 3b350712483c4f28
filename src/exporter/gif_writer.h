// An animated GIF written frame by frame, without loss: every stored frame carries the exact
// colours of its picture (a GIF frame holds at most 256), a frame equal to the one before only
// lengthens that one's delay, and a changed frame stores just the rectangle that changed. It
// loops forever. The file is written as NAME.partial and renamed to NAME when finished, so a
// failed or abandoned write leaves nothing behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct GifFileType;

struct GifRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// The state of one GIF being written; use it only through the functions below.
struct GifSeries {
    std::string path;      // the finished file
    std::string partial;   // where it is written meanwhile
    int width = 0, height = 0;
    GifFileType* file = nullptr;
    long framesAdded = 0;
    std::vector<std::uint8_t> shown;  // RGB of the picture once the pending frame is shown
    // The last distinct frame, stored when the next distinct frame (or the end) fixes its delay.
    GifRect pendingRect;
    std::vector<std::uint32_t> pendingPalette;  // 0xRRGGBB
    std::vector<std::uint8_t> pendingIndices;   // pendingRect's pixels, row by row
    std::uint64_t pendingDelay = 0;              // hundredths of a second
    std::vector<std::uint32_t> globalPalette;   // the first frame's colours
    std::string error;  // why the last call failed, for the user
};

// The delay of one frame for a clock step of ms milliseconds: to the nearest hundredth of a
// second (halves up), at least 1; 0 only for 0, where the clock stands still.
std::uint64_t gifDelay(std::uint64_t ms);

// Opens NAME.partial for a width x height animation; false (gif.error set) when it cannot.
bool gifBegin(GifSeries& gif, const std::string& path, int width, int height);

// Adds a frame of 3-byte RGB pixels, rows pitch bytes apart, shown for delay hundredths. False
// (gif.error set) when it cannot be stored exactly or written; then call gifAbandon.
bool gifAddFrame(GifSeries& gif, const std::uint8_t* rgb, std::size_t pitch, std::uint64_t delay);

// Writes the last frame, closes and renames the file into place. On failure (gif.error set) the
// partial file is removed.
bool gifFinish(GifSeries& gif);

// Closes and removes the partial file.
void gifAbandon(GifSeries& gif);
