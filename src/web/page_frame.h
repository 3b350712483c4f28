// The frame in the page: drawn by the window's software renderer straight into the window's
// pixels, and handed to the canvas by the page itself.
#pragma once

#include <SDL.h>

// Finds the window's pixels, which the window's software renderer draws into, so that a frame can
// be cleared there with one fill and handed to the canvas by the page; presenting (the library's
// copy converts every pixel in JavaScript) is left out. Null when they are not in the bytes the
// canvas takes; the page then clears and presents as every front end does.
SDL_Surface* findFrameMemory();

// Puts the frame drawn into those pixels (or, without them, presented by the library) on the
// page's canvas.
void showFrame(SDL_Surface* frameMemory);
