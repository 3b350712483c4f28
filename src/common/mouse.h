// Where the pointer is.
#pragma once

#include <SDL.h>

// The pointer position in window pixels, as the media library reports it.
SDL_Point readMouse();
