// The typed parameters of the moving pictures: their table, their values and the search for the
// frame whose value is nearest a typed one.
#include "pictures/parameters.h"

#include "common/polish_number.h"
#include "scenes/scenes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::int64_t kTicksLow = 0;
constexpr std::int64_t kTicksHigh = static_cast<std::int64_t>(kMaxTicks);
constexpr std::size_t kLongestNumber = 40;  // more characters than any value in reach needs
constexpr int kSearchReach = 3;                // the nearest input lies this close to the rounded inverse,
constexpr std::int64_t kCoarseSearchMs = 40000;  // or this close, in ms, where the clock is coarse

std::uint32_t ticksAt(std::int64_t t) { return static_cast<std::uint32_t>(t); }
int coordinateAt(std::int64_t p) { return static_cast<int>(p); }

double frequencyAt(std::int64_t t) { return trigFrequency(ticksAt(t)); }
double frequencyInput(double f, std::uint32_t near) { return trigTicksOf(f, near); }
double startAt(std::int64_t y) { return logisticStart(coordinateAt(y)); }
double startInput(double x0, std::uint32_t) { return logisticRowOf(x0); }
double rateAt(std::int64_t x) { return logisticRate(coordinateAt(x)); }
double rateInput(double k, std::uint32_t) { return logisticColumnOf(k); }
double aAt(std::int64_t y) { return quadraticA(coordinateAt(y)); }
double aInput(double a, std::uint32_t) { return quadraticRowOf(a); }
double bAt(std::int64_t x) { return quadraticB(coordinateAt(x)); }
double bInput(double b, std::uint32_t) { return quadraticColumnOf(b); }
double turnAngleAt(std::int64_t t) { return phaseDegrees(ticksAt(t), kRotationWrap); }
double turnAngleInput(double d, std::uint32_t near) { return phaseTicksOf(d, kRotationWrap, near); }
double circleAngleAt(std::int64_t t) { return phaseDegrees(ticksAt(t), kUnitCircleWrap); }
double circleAngleInput(double d, std::uint32_t near) { return phaseTicksOf(d, kUnitCircleWrap, near); }
double termsAt(std::int64_t x) { return taylorPrecision(coordinateAt(x)); }
double termsInput(double p, std::uint32_t) { return taylorColumnOf(p); }

// The frequency and the angle fall back to 0 before they reach these; a typed 20 Hz or 360° finds
// the frame just before.
constexpr double kFrequencyLimit = 20.0;
constexpr double kFullTurn = 360.0;

}  // namespace

const Parameter kFrequencyParameters[1] = {
    {"param-f", "f", 3, kFromClock, 0.0, kFrequencyLimit, 1, frequencyAt, frequencyInput},
};
const Parameter kLogisticParameters[2] = {
    {"param-x0", "x0", 4, kFromRow, startAt(kMaxCoordinate), startAt(kMinCoordinate), -1, startAt, startInput},
    {"param-k", "k", 4, kFromColumn, rateAt(kMinCoordinate), rateAt(kMaxCoordinate), 1, rateAt, rateInput},
};
const Parameter kQuadraticParameters[2] = {
    {"param-a", "a", 4, kFromRow, aAt(kMaxCoordinate), aAt(kMinCoordinate), -1, aAt, aInput},
    {"param-b", "b", 4, kFromColumn, bAt(kMinCoordinate), bAt(kMaxCoordinate), 1, bAt, bInput},
};
const Parameter kRotationParameters[1] = {
    {"param-angle", "kąt (°)", 4, kFromClock, 0.0, kFullTurn, 1, turnAngleAt, turnAngleInput},
};
const Parameter kUnitCircleParameters[1] = {
    {"param-angle", "kąt (°)", 4, kFromClock, 0.0, kFullTurn, 1, circleAngleAt, circleAngleInput},
};
const Parameter kTaylorParameters[1] = {
    {"param-terms", "precyzja (składniki po x)", 0, kFromColumn, termsAt(kMinCoordinate), termsAt(kMaxCoordinate), 0,
     termsAt, termsInput},
};

namespace {

std::int64_t inputOf(const Parameter& p, const FrameInputs& inputs)
{
    switch (p.input) {
    case kFromClock:
        return inputs.ticks;
    case kFromColumn:
        return inputs.mouse.x;
    case kFromRow:
        break;
    }
    return inputs.mouse.y;
}

void setInput(const Parameter& p, std::int64_t value, FrameInputs& inputs)
{
    if (p.input == kFromClock) {
        inputs.ticks = static_cast<std::uint32_t>(value);
    } else if (p.input == kFromColumn) {
        inputs.mouse.x = static_cast<int>(value);
    } else {
        inputs.mouse.y = static_cast<int>(value);
    }
}

std::int64_t lowestInput(const Parameter& p) { return p.input == kFromClock ? kTicksLow : kMinCoordinate; }
std::int64_t highestInput(const Parameter& p) { return p.input == kFromClock ? kTicksHigh : kMaxCoordinate; }

// At most the first kLongestNumber bytes of the text, cut before a letter, not inside one.
std::string shortened(const std::string& text)
{
    std::size_t size = std::min(text.size(), kLongestNumber);
    while (size > 0 && size < text.size() && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80) {
        --size;
    }
    return text.substr(0, size) + (size < text.size() ? "…" : "");
}

// "3,5" for 3.5: the page is Polish.
std::string withComma(std::string text)
{
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

}  // namespace

double parameterValue(const Parameter& parameter, const FrameInputs& inputs)
{
    return parameter.valueAt(inputOf(parameter, inputs));
}

std::string formatParameter(const Parameter& parameter, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", parameter.decimals, value);
    return withComma(text);
}

bool readDecimal(const std::string& text, double& value)
{
    std::string plain;
    std::size_t i = 0;
    const std::size_t end = text.find_last_not_of(' ');
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    static const std::string kMinusSign = "\xe2\x88\x92";  // −
    if (text.compare(i, kMinusSign.size(), kMinusSign) == 0) {
        plain += '-';
        i += kMinusSign.size();
    } else if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        plain += text[i++];
    }
    bool digits = false;
    bool separator = false;
    for (; end != std::string::npos && i <= end; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digits = true;
            plain += c;
        } else if ((c == ',' || c == '.') && !separator) {
            separator = true;
            plain += '.';
        } else {
            return false;
        }
    }
    if (!digits || plain.size() > kLongestNumber) {
        return false;
    }
    value = std::strtod(plain.c_str(), nullptr);
    return true;
}

namespace {

// How many milliseconds apart the clocks around t are that the pictures can tell apart: every
// picture takes its clock in single precision, so from 2^24 ms on, neighbouring milliseconds share
// one value.
std::int64_t clockStep(double t)
{
    const float clock = static_cast<float>(std::fmax(t, 0.0));
    return std::max<std::int64_t>(1, static_cast<std::int64_t>(std::nextafter(clock, HUGE_VALF) - clock));
}

// Moves the input to the frame whose value is nearest `wanted`: the inverse rounded, then the
// inputs around it, nearest first. Where every input has a value of its own, a few inputs around
// the guess hold the nearest; the one whose value is nearest wins, the nearer to the guess on a
// tie. Where the clock is coarse its values come in a pattern of their own, so the search goes on
// outward until a frame's value shows as the wanted one does (or as near as there is, 40 s away).
void moveToValue(const Parameter& parameter, double wanted, FrameInputs& inputs)
{
    const double guess = parameter.inputOf(wanted, inputs.ticks);
    const std::int64_t low = lowestInput(parameter);
    const std::int64_t high = highestInput(parameter);
    const std::int64_t centre = static_cast<std::int64_t>(
        std::llround(std::fmin(std::fmax(guess, static_cast<double>(low)), static_cast<double>(high))));
    const std::int64_t step = parameter.input == kFromClock ? clockStep(static_cast<double>(centre)) : 1;
    const std::int64_t reach = step == 1 ? kSearchReach : kCoarseSearchMs;
    const double closeEnough = step == 1 ? 0.0 : 0.5 * std::pow(10.0, -parameter.decimals);
    std::int64_t best = centre;
    double bestDistance = std::fabs(parameter.valueAt(centre) - wanted);
    for (std::int64_t d = 1; d <= reach && bestDistance > closeEnough; d += step) {
        for (const std::int64_t candidate : {centre - d, centre + d}) {
            if (candidate < low || candidate > high) {
                continue;
            }
            const double distance = std::fabs(parameter.valueAt(candidate) - wanted);
            if (distance < bestDistance) {
                best = candidate;
                bestDistance = distance;
            }
        }
    }
    setInput(parameter, best, inputs);
}

}  // namespace

bool setParameter(const Parameter& parameter, const std::string& text, FrameInputs& inputs, std::string& why)
{
    double wanted = 0.0;
    if (!readDecimal(text, wanted)) {
        why = "„" + shortened(text) + "” to nie liczba. Wpisz na przykład " +
              polishNumber(formatParameter(parameter, parameterValue(parameter, inputs))) + ".";
        return false;
    }
    // A value shown rounded at either end of the range is within reach.
    const double slack = 0.5 * std::pow(10.0, -parameter.decimals);
    if (!(wanted >= parameter.low - slack && wanted <= parameter.high + slack)) {
        why = "Poza zakresem: " + std::string(parameter.label) + "\u00a0może wynosić od " +
              polishNumber(formatParameter(parameter, parameter.low)) + " do " +
              polishNumber(formatParameter(parameter, parameter.high)) + ".";
        return false;
    }
    moveToValue(parameter, wanted, inputs);
    return true;
}

void stepParameter(const Parameter& parameter, int direction, FrameInputs& inputs)
{
    if (parameter.step == 0) {
        const double wanted = std::round(parameterValue(parameter, inputs)) + direction;
        if (wanted >= parameter.low && wanted <= parameter.high) {
            moveToValue(parameter, wanted, inputs);
        }
        return;
    }
    const std::int64_t moved = inputOf(parameter, inputs) + static_cast<std::int64_t>(direction) * parameter.step;
    setInput(parameter, std::min(std::max(moved, lowestInput(parameter)), highestInput(parameter)), inputs);
}
