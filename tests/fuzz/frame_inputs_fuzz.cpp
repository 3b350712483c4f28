// Any text as a clock or a pointer, read as the front ends read them: what is taken is in range
// and written back reads as the same; what is refused leaves the value alone.
#include "common/frame_inputs.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    std::uint32_t ticks = 4242;
    if (parseTicks(text, ticks)) {
        std::uint32_t again = 0;
        if (!parseTicks(std::to_string(ticks), again) || again != ticks || text.empty() ||
            text.find_first_not_of("0123456789") != std::string::npos) {
            std::abort();
        }
    } else if (ticks != 4242) {
        std::abort();
    }

    SDL_Point p{4242, 4242};
    if (parseMousePosition(text, p)) {
        SDL_Point again{0, 0};
        const std::string written = std::to_string(p.x) + "," + std::to_string(p.y);
        if (p.x < kMinCoordinate || p.x > kMaxCoordinate || p.y < kMinCoordinate || p.y > kMaxCoordinate ||
            !parseMousePosition(written, again) || again.x != p.x || again.y != p.y) {
            std::abort();
        }
    } else if (p.x != 4242 || p.y != 4242) {
        std::abort();
    }

    // The same text read against a bound taken from its first byte.
    const std::uint64_t max = size > 0 ? std::uint64_t{1} << (data[0] % 64) : 0;
    std::uint64_t value = 77;
    if (parseUnsigned(text.substr(size > 0 ? 1 : 0), max, value) ? value > max : value != 77) {
        std::abort();
    }
    return 0;
}
