// Reading the clock and the mouse position from text.
#include "common/frame_inputs.h"

namespace {

// An optionally negative whole number within [kMinCoordinate, kMaxCoordinate].
bool parseCoordinate(const std::string& text, int& value)
{
    const bool negative = !text.empty() && text[0] == '-';
    const std::uint64_t limit = negative ? -static_cast<std::int64_t>(kMinCoordinate) : kMaxCoordinate;
    std::uint64_t magnitude = 0;
    if (!parseUnsigned(text.substr(negative ? 1 : 0), limit, magnitude)) {
        return false;
    }
    value = negative ? -static_cast<int>(magnitude) : static_cast<int>(magnitude);
    return true;
}

}  // namespace

bool parseUnsigned(const std::string& text, std::uint64_t max, std::uint64_t& value)
{
    if (text.empty()) {
        return false;
    }
    std::uint64_t v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        v = v * 10 + static_cast<std::uint64_t>(c - '0');
        if (v > max) {
            return false;
        }
    }
    value = v;
    return true;
}

bool parseTicks(const std::string& text, std::uint32_t& ticks)
{
    std::uint64_t value = 0;
    if (!parseUnsigned(text, kMaxTicks, value)) {
        return false;
    }
    ticks = static_cast<std::uint32_t>(value);
    return true;
}

bool parseMousePosition(const std::string& text, SDL_Point& p)
{
    const std::size_t comma = text.find(',');
    SDL_Point q{0, 0};
    if (comma == std::string::npos || !parseCoordinate(text.substr(0, comma), q.x) ||
        !parseCoordinate(text.substr(comma + 1), q.y)) {
        return false;
    }
    p = q;
    return true;
}
