// Where the mouse-steered scenes get the pointer position from.
#pragma once

#include <SDL.h>

// The pointer position in window pixels, as the media library reports it, or the position set
// by steerMouse when one is set (the snapshot exporter has no real pointer).
SDL_Point readMouse();

// From now on readMouse reports p instead of the real pointer.
void steerMouse(SDL_Point p);

// From now on readMouse reports the real pointer again.
void followRealMouse();
