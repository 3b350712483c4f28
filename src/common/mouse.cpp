// The pointer position, asked of the media library.
#include "common/mouse.h"

SDL_Point readMouse()
{
    SDL_Point p{0, 0};
    SDL_GetMouseState(&p.x, &p.y);
    return p;
}
