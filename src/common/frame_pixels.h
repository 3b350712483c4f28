// A frame's pixels read back from where it was just drawn, the one way every front end and test
// takes a frame out of the renderer.
#pragma once

#include <SDL.h>

#include <string>

// A 1280 x 720 surface of 3-byte RGB pixels (red, green, blue, row by row) to read frames into;
// null, with why, when there is no memory for it. Freed with SDL_FreeSurface.
SDL_Surface* makeFramePixels(std::string& why);

// Reads the frame on app.renderer's target (the window before it is presented, or the frame
// texture in full screen) into pixels, from the top left corner as far as the surface reaches (a
// 1280 x 720 surface takes the whole frame), in any format the library converts to. False, with
// why, when the renderer cannot give it.
bool readFramePixels(SDL_Surface* pixels, std::string& why);
