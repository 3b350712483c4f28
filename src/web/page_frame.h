// The frame in the page: drawn by the window's software renderer, and handed to the canvas by the
// page itself.
#pragma once

// Finds the window's pixels, which the window's software renderer draws into, so the page can
// clear them and hand them to the canvas itself; presenting (the library's copy converts every
// pixel in JavaScript) is left out. False when they are not in the bytes the canvas takes; the
// page then clears and presents as every front end does.
bool findFrame();

// One whole frame as drawFrame draws it, cleared to black and the chosen scene drawn, without
// presenting: the clear is one fill of the frame's memory (the library's own clear stores pixel by
// pixel, in the browser as slow as a scene).
void drawSceneFrame();

// Puts the drawn frame on the page's canvas.
void showFrame();
