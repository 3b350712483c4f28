// The 1280 x 720 frame shown on a screen of another size: where it stands, and which frame pixel
// lies under a point of the screen.
#pragma once

#include <SDL.h>

// The largest rectangle of the frame's shape (16:9) that fits a screen of width x height, centred;
// what is left are black bars above and below or left and right. A screen of the frame's shape is
// covered whole.
SDL_Rect frameOnScreen(int width, int height);

// The frame pixel under the screen point p when the frame is drawn into the rectangle `frame`:
// floor(offset * frame size / rectangle size) along each axis, as the page maps its pointer, held
// at the nearest edge of the frame when p is on a bar or off the screen. The screen's centre is
// (640, 360) whenever the rectangle is centred.
SDL_Point framePixelAt(SDL_Point p, const SDL_Rect& frame);
