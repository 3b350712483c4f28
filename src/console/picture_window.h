// The state of this cycle's window beyond AppState: the picture's lesson, the mouse, full screen
// and a frame to save.
#pragma once

#include "pictures/lesson.h"

#include <SDL.h>

// What the keys have made of this cycle's window. Until a key is pressed the picture runs with
// the media library's clock and follows the mouse, frame for frame as it always has.
struct PictureWindow {
    Lesson lesson;                 // the picture's clock and pointer, held, stepped, sped up
    SDL_Point mouse{0, 0};         // the mouse at the last frame, in frame pixels
    SDL_Point unheldMouse{0, 0};   // the same, but not followed while the picture is held
    bool fullScreen = false;
    SDL_Texture* frame = nullptr;  // in full screen: the frame drawn at its own size, then scaled
    bool saveFrame = false;        // Ctrl+S: this frame is written to a file before it is shown
    // Since the window moved (full screen switched on or off, or the window manager placed it)
    // the mouse has not moved in the window: the media library still gives the window's position
    // of the mouse from before the move, mouseAtMove, until an event of the mouse's own comes.
    bool mouseStale = false;
    SDL_Point mouseAtMove{0, 0};
};
extern PictureWindow pictureWindow;
