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

double phaseDegrees(std::uint32_t ticks, double wrap)
{
    const double r = std::fmod(static_cast<double>(phaseFromTicks(ticks, wrap)), kTwoPi);
    return r / kPi * kDegreesPerPi;
}

double phaseTicksOf(double degrees, double wrap, std::uint32_t near)
{
    // Where near's cycle and near's turn in it began, in radians of the clock.
    const double phase = static_cast<double>(phaseFromTicks(near, wrap));
    const double radians = static_cast<double>(static_cast<float>(static_cast<double>(near)) / kMillisecondsPerRadian);
    const double turnStart = radians - phase + std::floor(phase / kTwoPi) * kTwoPi;
    return (turnStart + degrees / kDegreesPerPi * kPi) * static_cast<double>(kMillisecondsPerRadian);
}
