// The page's state in one record: what it shows, the live picture's lesson, and the inputs of the
// frame on the canvas; and the page's decisions, plain C++ so that they are tested natively.
#pragma once

#include "common/frame_inputs.h"
#include "menu/lesson.h"

#include <string>

// What the page shows, as plotnik_open_link answers it.
enum PageShows { kShowsRefused = -1, kShowsMenu = 0, kShowsLive = 1, kShowsFrozen = 2 };

struct PageState {
    PageShows shows = kShowsMenu;
    std::string message;         // why the last link was refused
    bool mediaReady = false;     // the window and its library are open
    Lesson lesson;               // the live picture's clock and pointer
    bool frameOnCanvas = false;  // a frame of the shown picture is on the canvas
    FrameInputs drawn;           // that frame's inputs
    bool resting = false;        // the live picture takes no turns until the page steers it
    int framesDrawn = 0;         // frames drawn into the canvas since the page loaded
};

// Whether the live picture's frame at these inputs differs from the one on the canvas: only what
// steers the picture counts.
bool frameMustBeDrawn(const PageState& page, const FrameInputs& now);

// Whether the live picture may stop taking turns once its frame is on the canvas: nothing but the
// page can change it (a still picture, a mouse picture, a held clock).
bool mayRest(const PageState& page);

// The constants page.js works with, as one JSON object, so that it copies none of them: what
// plotnik_open_link answers ("shows"), the steering kinds ("steering"), the frame's size
// ("frame"), and the lesson keys plotnik_key takes ("keys").
std::string pageConstants();
