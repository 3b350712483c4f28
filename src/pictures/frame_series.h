// A series of one picture's frames, as the exporter writes them and the page records a GIF: frame k
// at the clock first.ticks + k * step, the pointer where first has it, each drawn as every front
// end draws a frame and read back whole.
#pragma once

#include "common/frame_inputs.h"
#include "common/gif_encoder.h"
#include "pictures/pictures.h"

#include <SDL.h>

#include <cstdint>
#include <string>

struct FrameSeries {
    const Picture* picture = nullptr;
    FrameInputs first;       // frame 0's clock and pointer
    std::uint64_t step = 0;  // the picture's milliseconds from one frame to the next
};

// The inputs of frame k.
FrameInputs seriesFrame(const FrameSeries& series, long k);

// Draws frame k (into frameMemory when given, as drawFrame takes it) and reads it back into pixels
// (makeFramePixels). False, with the library's why, when it cannot be read.
bool drawSeriesFrame(const FrameSeries& series, long k, SDL_Surface* frameMemory, SDL_Surface* pixels,
                     std::string& why);

// Draws frame k, reads it back into pixels and adds it to the GIF, shown for delay hundredths of a
// second. False, with why in the language's words, when it fails (the GIF is then to be abandoned).
bool addSeriesFrameToGif(const FrameSeries& series, long k, SDL_Surface* frameMemory, SDL_Surface* pixels,
                         GifEncoder& gif, std::uint64_t delay, Language language, std::string& why);
