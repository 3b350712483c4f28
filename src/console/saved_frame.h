// A frame of the window kept as a PNG in the folder the program was started in: its file name,
// the exporter's command that draws the same frame, and the console line that tells both.
#pragma once

#include "common/frame_inputs.h"
#include "pictures/pictures.h"

#include <string>

// The n-th name (n from 1) for a frame of the picture, naming what steers it: "plotnik-7-t2345.png"
// for a clock picture, "plotnik-4-x720-y240.png" for a mouse picture, "plotnik-3.png" for a still
// one; from n = 2 on "plotnik-7-t2345-2.png" and so on.
std::string savedFrameName(const Picture& picture, const FrameInputs& inputs, int n);

// The exporter's command that draws the same frame: "plotnik-snapshot 7 --ticks 2345".
std::string snapshotCommand(const Picture& picture, const FrameInputs& inputs);

// Reads the frame just drawn from app.renderer's target (the whole 1280 x 720 frame, before it is
// presented) and writes it under the first of the picture's names that no file has, never over a
// file. Returns the console line: the file, the exporter's command and the page's link, or why
// nothing was written.
std::string saveDrawnFrame(const Picture& picture, const FrameInputs& inputs);
