// The inputs every frame is drawn from, the clock and the pointer; the ranges a front end accepts
// them in, and the one way they are read from text.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

struct FrameInputs {
    std::uint32_t ticks = 0;  // the picture's clock in milliseconds
    SDL_Point mouse{0, 0};    // the pointer in frame pixels, anywhere in the coordinate range
};

inline bool operator==(const FrameInputs& a, const FrameInputs& b)
{
    return a.ticks == b.ticks && a.mouse.x == b.mouse.x && a.mouse.y == b.mouse.y;
}
inline bool operator!=(const FrameInputs& a, const FrameInputs& b) { return !(a == b); }

constexpr std::uint64_t kMaxTicks = 4294967295u;
constexpr int kMinCoordinate = -32768;
constexpr int kMaxCoordinate = 32767;

// A whole decimal number of digits only (no sign, no blanks), 0 to kMaxTicks. False, and ticks
// left alone, for anything else.
bool parseTicks(const std::string& text, std::uint32_t& ticks);

// "X,Y", each an optionally negative whole number from kMinCoordinate to kMaxCoordinate. False,
// and p left alone, for anything else.
bool parseMousePosition(const std::string& text, SDL_Point& p);

// A whole decimal number of digits only, 0 to max.
bool parseUnsigned(const std::string& text, std::uint64_t max, std::uint64_t& value);
