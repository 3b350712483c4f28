// The menu table and the dispatch of one frame to the scene it names.
#include "menu/menu.h"

#include "common/app_state.h"
#include "scenes/scenes.h"

#include <cmath>

const MenuItem kMenuItems[kMenuItemCount] = {
    {"1", "1 - Funkcje trygonometryczne", drawTrigFunctions, nullptr, 0.0, kSteeredByClock},
    {"2", "2 - Odwzorowanie logistyczne", drawLogisticMap, nullptr, 0.0, kSteeredByMouse},
    {"3", "3 - Diagram bifurkacyjny odwzorowania logistycznego", drawBifurcation, nullptr, 0.0, kSteeredByNothing},
    {"4", "4 - Funkcja kwadratowa", drawQuadratic, nullptr, 0.0, kSteeredByMouse},
    {"5", "5 - Spirala Ulama", drawUlamSpiral, nullptr, 0.0, kSteeredByNothing},
    {"6", "6 - Rotacja figury", nullptr, drawRotation, kTwoPi, kSteeredByClock},
    {"7", "7 - Graficzne przedstawienie sinusa i cosinusa", nullptr, drawSineCosine, kSixPi, kSteeredByClock},
    {"8", "8 - Przesuniecie fazowe", nullptr, drawPhaseShift, kSixPi, kSteeredByClock},
    {"9", "9 - Liczby pierwsze graf", drawPrimeGraph, nullptr, 0.0, kSteeredByNothing},
    {"10", "10 - Obliczony sinus", drawComputedSine, nullptr, 0.0, kSteeredByMouse},
};

const MenuItem& menuItemFor(const std::string& answer)
{
    for (const MenuItem& item : kMenuItems) {
        if (answer == item.answer) {  // same length and same characters
            return item;
        }
    }
    return kMenuItems[0];
}

float phaseFromTicks(std::uint32_t ticks, double wrap)
{
    const float clock = static_cast<float>(static_cast<double>(ticks));
    const float radians = clock / 360.0f;
    return static_cast<float>(std::fmod(static_cast<double>(radians), wrap));
}

void dispatchScene()
{
    const MenuItem& item = menuItemFor(app.choice);
    if (item.drawAt != nullptr) {
        item.drawAt(phaseFromTicks(app.frameTicks, item.wrap));
    } else {
        item.draw();
    }
}

void drawFrame()
{
    SDL_SetRenderDrawColor(app.renderer, 0, 0, 0, 0);
    SDL_RenderClear(app.renderer);
    dispatchScene();
    SDL_RenderPresent(app.renderer);
}

void runOneFrame()
{
    app.frameTicks = SDL_GetTicks();
    SDL_Event event;
    if (SDL_PollEvent(&event) != 0 && event.type == SDL_QUIT) {
        app.running = false;
    }
    drawFrame();
}
