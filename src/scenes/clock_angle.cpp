// The angle the clock turns pictures 6, 7 and 8 by.
#include "scenes/scenes.h"

#include <cmath>

namespace {
constexpr float kMillisecondsPerRadian = 360.0f;
}  // namespace

float phaseFromTicks(std::uint32_t ticks, double wrap)
{
    const float clock = static_cast<float>(static_cast<double>(ticks));
    const float radians = clock / kMillisecondsPerRadian;
    return static_cast<float>(std::fmod(static_cast<double>(radians), wrap));
}
