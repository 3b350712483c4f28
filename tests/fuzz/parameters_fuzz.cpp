// Any text typed into any parameter field, at any frame: a value taken moves only its own input,
// to a frame whose value is within reach and shows again as itself; anything else is explained
// and changes nothing.
#include "pictures/parameters.h"
#include "pictures/pictures.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first bytes choose the picture, the field, the frame and the step; the rest is typed.
    constexpr std::size_t kHeader = 10;
    if (size < kHeader) {
        return 0;
    }
    const Picture& picture = kPictures[data[0] % kPictureCount];
    const int count = picture.parameterCount;
    const Parameter* parameters = picture.parameters;
    if (count == 0) {
        return 0;
    }
    const Parameter& p = parameters[data[1] % count];
    FrameInputs from;
    std::uint32_t ticks = 0;
    std::int16_t x = 0, y = 0;
    std::memcpy(&ticks, data + 2, sizeof ticks);
    std::memcpy(&x, data + 6, sizeof x);
    std::memcpy(&y, data + 8, sizeof y);
    from.ticks = ticks;
    from.mouse = {x, y};
    const std::string typed(reinterpret_cast<const char*>(data + kHeader), size - kHeader);

    FrameInputs to = from;
    std::string message;
    if (!setParameter(p, typed, to, message)) {
        if (to != from || message.empty()) {
            std::abort();
        }
    } else {
        const bool othersKept = p.input == kFromClock    ? to.mouse.x == from.mouse.x && to.mouse.y == from.mouse.y
                                : p.input == kFromColumn ? to.ticks == from.ticks && to.mouse.y == from.mouse.y
                                                         : to.ticks == from.ticks && to.mouse.x == from.mouse.x;
        const double value = parameterValue(p, to);
        const double slack = std::pow(10.0, -p.decimals);
        if (!othersKept || !(value >= p.low - slack && value <= p.high + slack)) {
            std::abort();
        }
        FrameInputs again = to;
        const std::string shown = formatParameter(p, value);
        if (!setParameter(p, shown, again, message) || formatParameter(p, parameterValue(p, again)) != shown) {
            std::abort();
        }
    }
    FrameInputs stepped = from;
    stepParameter(p, (data[0] & 0x80) != 0 ? 1 : -1, stepped);
    double read = 0.0;
    readDecimal(typed, read);
    return 0;
}
