// Where the texts of a picture stand: its title in the top left corner and, for a picture that
// shows values, their readout under it; and the readout of two values.
#pragma once

#include "common/text.h"

#include <cstddef>

constexpr int kLabelLeft = 12;   // the left column of the title and the readout
constexpr int kTitleTop = 12;    // the title, in the small font
constexpr int kReadoutTop = 28;  // the readout, in the large font, under the title

// Formats a readout of two values as the scenes keep them, in single precision, each widened to
// double for the format's two conversions: "x0 = %.4f | k = %.4f".
inline void formatTwoValues(char* buffer, std::size_t capacity, const char* format, float first, float second)
{
    formatText(buffer, capacity, format, static_cast<double>(first), static_cast<double>(second));
}
