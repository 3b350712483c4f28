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

// The page moved the live picture's pointer or clock: it takes turns again (web_main.cpp).
void wakeLivePicture();

// The page changed the live picture's lesson (a picture opened, held, stepped, sped, its pointer
// moved, a value typed): the page's script hears of it (class_exports.cpp).
void lessonChanged();
