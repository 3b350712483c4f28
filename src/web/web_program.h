// What the page's program shares with its test hooks.
#pragma once

#include "common/frame_inputs.h"
#include "web/page_state.h"

extern PageState pageState;

// Draws the shown picture's whole frame at these inputs into the canvas and tells the page its
// link.
void drawPageFrame(const FrameInputs& inputs);

// Draws the frame on the canvas again, cleared and the scene, without handing it to the canvas.
void redrawPageFrame();

// Hands the drawn frame to the canvas.
void showPageFrame();
