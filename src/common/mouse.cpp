// The pointer position for the mouse-steered scenes.
#include "common/mouse.h"

namespace {
bool steered = false;
SDL_Point steeredPosition{0, 0};
}  // namespace

SDL_Point readMouse()
{
    if (steered) {
        return steeredPosition;
    }
    SDL_Point p{0, 0};
    SDL_GetMouseState(&p.x, &p.y);
    return p;
}

void steerMouse(SDL_Point p)
{
    steered = true;
    steeredPosition = p;
}

void followRealMouse()
{
    steered = false;
}
