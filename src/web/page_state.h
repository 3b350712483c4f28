// The page's state in one record: what it shows, the live picture's lesson, the inputs of the
// frame on the canvas and the GIF being recorded; and every decision the page's program makes,
// plain C++ so that it is tested natively. web_main.cpp hands the page's calls to these.
#pragma once

#include "common/frame_inputs.h"
#include "common/gif_encoder.h"
#include "pictures/frame_series.h"
#include "pictures/lesson.h"
#include "pictures/pictures.h"
#include "pictures/parameters.h"

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
    FrameSeries series;
    std::uint64_t delay = 0;  // hundredths of a second each frame is shown
    int frames = 0;
    int done = 0;  // frames drawn and encoded
    std::string fileName;
    GifEncoder gif;
    SDL_Surface* pixels = nullptr;    // the frame read back
    std::vector<std::uint8_t> bytes;  // the GIF so far; whole once every frame is done
};

struct PageState {
    PageShows shows = kShowsMenu;
    std::string message;               // why the last link was refused
    bool mediaReady = false;           // the window and its library are open
    const Picture* picture = nullptr;  // the picture shown, live or frozen
    SDL_Surface* frameMemory = nullptr;  // the window's pixels, when the page fills and copies them itself
    Lesson lesson;                     // the live picture's clock and pointer
    bool frameOnCanvas = false;        // a frame of the shown picture is on the canvas
    FrameInputs drawn;                 // that frame's inputs
    bool resting = false;              // the live picture takes no turns until the page steers it
    std::uint32_t turnClock = 0;       // the page's clock (ms) at the live picture's last turn
    int framesDrawn = 0;               // frames drawn into the canvas since the page loaded
    Recording recording;               // a GIF being recorded, when active
    std::string answer;                // the last text handed to the page, kept until the next
};

// Whether a picture is open, live or frozen (its frame may not be drawn yet).
bool pictureOpen(const PageState& page);

// Whether a frame of the open picture is on the canvas.
bool pictureShown(const PageState& page);

// Whether the live picture's frame at these inputs differs from the one on the canvas: only what
// steers the picture counts.
bool frameMustBeDrawn(const PageState& page, const FrameInputs& now);

// Whether the live picture may stop taking turns once its frame is on the canvas: nothing but the
// page can change it (a still picture, a mouse picture, a held clock).
bool mayRest(const PageState& page);

// The page steered the live picture: true when it was resting and must take turns again (it is
// marked as taking them).
bool wakePage(PageState& page);

// The constants the page's script works with, as one JSON object, so that it copies none of them:
// what plotnik_open_link answers ("shows"), the steering kinds ("steering"), the frame's size
// ("frame"), the lesson keys plotnik_key takes ("keys"), the clock's speeds a teacher chooses from
// ("speeds", slowest first) and the GIF lengths and rates ("gif").
std::string pageConstants();

// The live picture's parameter i, or null.
const Parameter* liveParameter(const PageState& page, int i);

// The live picture's parameters with the values of the frame on the canvas, as a JSON array of
// {"id", "label", "value"}; [] for a still picture or none.
std::string parametersJson(const PageState& page);

// A value typed into parameter i at the page's time now: the live picture is held at the frame
// whose value is nearest. False, with why in Polish, when the text is no value in reach.
bool typeParameter(PageState& page, int i, const std::string& text, std::uint32_t now, std::string& why);

// Parameter i one step up (direction 1) or down (-1) at the page's time now, the picture held
// there; false when there is no such parameter.
bool stepLiveParameter(PageState& page, int i, int direction, std::uint32_t now);

// The name the frame on the canvas is saved under; "" with no frame there.
std::string canvasFileName(const PageState& page);

// Starts recording the picture from the clock at start, seconds long at fps frames a second, the
// picture's clock running at speed against the page's: frame k at start + k * 1000 / fps * speed
// ms, each shown for 1000 / fps ms (rounded as the exporter's --every), so the GIF plays as the
// page showed the picture. Any recording before is ended. False, with why in Polish, when it
// cannot start.
bool beginRecording(Recording& recording, const Picture& picture, std::uint32_t start, int seconds, int fps,
                    double speed, std::string& why);

// Records the picture on the canvas from its frame there, at the live picture's speed (a frozen
// frame's at the real pace), after ending any recording before.
bool beginPageRecording(PageState& page, int seconds, int fps, std::string& why);

// Draws the next frame as every front end draws it (into frameMemory, when given), reads it back
// and encodes it; the last frame finishes the GIF. False, with why in Polish, when it fails (the
// recording is to be ended then).
bool recordFrame(Recording& recording, SDL_Surface* frameMemory, std::string& why);

// The page's next frame of its recording: false, with why, when it failed, and then the recording
// is ended as endPageRecording does. After the last frame the GIF is whole in
// page.recording.bytes, for the page to take before it ends the recording.
bool recordPageFrame(PageState& page, std::string& why);

// Ends the recording, whole or not, and gives back all its memory.
void endRecording(Recording& recording);

// Ends the page's recording, if any: its frames were drawn where the canvas's frame is kept, so
// that frame is drawn there again, and the window's memory holds what the canvas shows.
void endPageRecording(PageState& page);
