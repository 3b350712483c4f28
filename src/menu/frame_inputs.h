// The inputs a front end may fix for a frame instead of taking them live, the clock and the mouse
// position: the ranges they are accepted in, and the one way they are read from text.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

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
