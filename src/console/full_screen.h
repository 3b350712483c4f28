// Full screen: the frame drawn at its own size, then scaled to the whole screen between black bars,
// and the mouse mapped back to the frame's pixels.
#pragma once

#include "common/frame_inputs.h"
#include "pictures/pictures.h"

#include <SDL.h>

// Switches full screen on (the frame scaled to the whole screen, 16:9 kept, black bars) or off
// (the 1280 x 720 window as it was opened). A failure leaves the window as it is and says why on
// the console.
void setFullScreen(bool on);

// Notes the window's position of a mouse over the window as the window moves under it (about to
// switch full screen, or just moved): until the mouse moves, that value is stale and the screen's
// is used.
void noteWindowMoving();

// The mouse in frame pixels: in the window they are the window's own; in full screen the screen
// point is mapped back into the scaled frame.
SDL_Point mouseInFrame();

// Draws the frame into the full screen's own frame, lets save(...) read it there, then scales it
// onto the screen.
void drawScaledFrame(const Picture& picture, const FrameInputs& inputs, void (*save)(const Picture&, const FrameInputs&));
