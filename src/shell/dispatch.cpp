// The dispatch table: exact-match answers to scene routines.
#include "shell/dispatch.h"

#include "scenes/scenes.h"
#include "shell/app_state.h"

#include <cmath>

namespace {

struct SceneEntry {
    const char* answer;
    void (*draw)();              // scenes that take nothing
    void (*drawAt)(float);       // scenes that take phase
    double wrap;                 // where phase falls back to 0
};

const SceneEntry kScenes[] = {
    {"1", drawTrigFunctions, nullptr, 0.0},
    {"2", drawLogisticMap, nullptr, 0.0},
    {"3", drawBifurcation, nullptr, 0.0},
    {"4", drawQuadratic, nullptr, 0.0},
    {"5", drawUlamSpiral, nullptr, 0.0},
    {"6", nullptr, drawRotation, kTwoPi},
    {"7", nullptr, drawSineCosine, kSixPi},
    {"8", nullptr, drawPhaseShift, kSixPi},
    {"9", drawPrimeGraph, nullptr, 0.0},
    {"10", drawComputedSine, nullptr, 0.0},
};

// Anything that is not exactly a menu number draws the first scene.
const SceneEntry& entryFor(const std::string& answer)
{
    for (const SceneEntry& entry : kScenes) {
        if (answer == entry.answer) {  // same length and same characters
            return entry;
        }
    }
    return kScenes[0];
}

}  // namespace

float phaseFromTicks(std::uint32_t ticks, double wrap)
{
    const float clock = static_cast<float>(static_cast<double>(ticks));
    const float radians = clock / 360.0f;
    return static_cast<float>(std::fmod(static_cast<double>(radians), wrap));
}

void dispatchScene()
{
    const SceneEntry& entry = entryFor(app.choice);
    if (entry.drawAt != nullptr) {
        entry.drawAt(phaseFromTicks(app.frameTicks, entry.wrap));
    } else {
        entry.draw();
    }
}

const char* sceneNumberFor(const std::string& answer)
{
    return entryFor(answer).answer;
}
