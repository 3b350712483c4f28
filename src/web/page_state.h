// The page's state in one record: what it shows, the live picture's lesson, and the inputs of the
// frame on the canvas; and the page's decisions, plain C++ so that they are tested natively.
#pragma once

#include "common/frame_inputs.h"
#include "common/gif_encoder.h"
#include "menu/lesson.h"
#include "menu/menu.h"

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

// What the page shows, as plotnik_open_link answers it.
enum PageShows { kShowsRefused = -1, kShowsMenu = 0, kShowsLive = 1, kShowsFrozen = 2 };

// The lengths (seconds) and rates (frames a second) the page records a GIF at.
constexpr int kGifSeconds[] = {1, 2, 5, 10};
constexpr int kGifRates[] = {10, 25};

// A GIF being recorded from a clock picture: frame k is the picture at start + k * step ms, shown
// for delay hundredths of a second. Frames are drawn, read back and encoded one at a time, none
// kept; only the GIF's bytes grow, in memory.
struct Recording {
    bool active = false;
    std::uint32_t start = 0;  // the clock of the first frame
    std::uint32_t step = 0;   // the picture's milliseconds from one frame to the next
    std::uint64_t delay = 0;  // hundredths of a second each frame is shown
    int frames = 0;
    int done = 0;  // frames drawn and encoded
    std::string fileName;
    GifEncoder gif;
    std::vector<std::uint8_t> rgb;    // the frame read back
    std::vector<std::uint8_t> bytes;  // the GIF so far; whole once every frame is done
};

struct PageState {
    PageShows shows = kShowsMenu;
    std::string message;         // why the last link was refused
    bool mediaReady = false;     // the window and its library are open
    Lesson lesson;               // the live picture's clock and pointer
    bool frameOnCanvas = false;  // a frame of the shown picture is on the canvas
    FrameInputs drawn;           // that frame's inputs
    bool resting = false;        // the live picture takes no turns until the page steers it
    std::uint32_t turnClock = 0; // the page's clock (ms) at the live picture's last turn
    int framesDrawn = 0;         // frames drawn into the canvas since the page loaded
    Recording recording;         // a GIF being recorded, when active
};

// Whether the live picture's frame at these inputs differs from the one on the canvas: only what
// steers the picture counts.
bool frameMustBeDrawn(const PageState& page, const FrameInputs& now);

// Whether the live picture may stop taking turns once its frame is on the canvas: nothing but the
// page can change it (a still picture, a mouse picture, a held clock).
bool mayRest(const PageState& page);

// The constants the page's script works with, as one JSON object, so that it copies none of them:
// what plotnik_open_link answers ("shows"), the steering kinds ("steering"), the frame's size
// ("frame"), the lesson keys plotnik_key takes ("keys"), the clock's speeds a teacher chooses from
// ("speeds", slowest first) and the GIF lengths and rates ("gif").
std::string pageConstants();

// Starts recording the picture from the clock at start, seconds long at fps frames a second, the
// picture's clock running at speed against the page's: frame k at start + k * 1000 / fps * speed
// ms, each shown for 1000 / fps ms (rounded as the exporter's --every), so the GIF plays as the
// page showed the picture. Any recording before is ended. "" when started, else why not (in
// Polish).
std::string beginRecording(Recording& recording, const Picture& picture, std::uint32_t start, int seconds, int fps,
                           double speed);

// Draws the next frame as every front end draws it (into frameMemory, when given, as drawFrame
// takes it), reads it back as the exporter does and encodes it; the last frame finishes the GIF.
// "" when done, else why it failed, in Polish (the recording is then ended).
std::string recordFrame(Recording& recording, const Picture& picture, SDL_Surface* frameMemory);

// Ends the recording, whole or not, and gives back all its memory.
void endRecording(Recording& recording);
