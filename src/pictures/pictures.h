// The ten pictures, the one table every front end reads: for each its menu answer and line, its
// description, what steers it, the one routine that draws its scene from explicit inputs and the
// values a teacher may type; and the drawing of one whole frame.
#pragma once

#include "common/frame_inputs.h"
#include "pictures/parameters.h"

#include <SDL.h>

#include <string>

// What makes a picture's frame change: nothing (a still picture), the clock or the pointer.
enum Steering { kSteeredByNothing = 0, kSteeredByClock = 1, kSteeredByMouse = 2 };

struct Picture {
    const char* answer;       // what the user types, matched exactly
    const char* line;         // the menu line, "1 - Funkcje trygonometryczne"
    const char* description;  // in Polish: what the picture shows and what steers it
    Steering steering;        // the only input its frame depends on
    void (*draw)(const FrameInputs& inputs);  // the whole scene of one frame, neither cleared nor presented
    const Parameter* parameters;  // the values shown that a teacher may type, in the page's order
    int parameterCount;           // none for a still picture
};

constexpr int kPictureCount = 10;
extern const Picture kPictures[kPictureCount];

// The picture an answer selects; answers that match no menu answer (exact match only) select the
// trigonometric functions.
const Picture& pictureFor(const std::string& answer);

// One whole frame as every front end draws it: cleared to black, then the picture's scene at
// these inputs; presenting it is the front end's. A front end that draws straight into memory it
// can see (the page's window surface, four bytes a pixel, black all zero bits) passes it, and the
// clear is one fill of that memory, the same pixels as the renderer's clear.
void drawFrame(const Picture& picture, const FrameInputs& inputs, SDL_Surface* frameMemory = nullptr);
