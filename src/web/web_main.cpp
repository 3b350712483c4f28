// The web page's program: the picture table for the page, and one picture at a time in the
// canvas, live (frames paced by the browser, drawn only when they can change) or one frozen frame
// from a link. Everything the page knows is in one PageState; the hooks only tests and
// benchmarks call are in test_hooks.cpp.
#include "common/app_state.h"
#include "common/window.h"
#include "menu/frame_link.h"
#include "menu/lesson.h"
#include "menu/menu.h"
#include "menu/parameters.h"
#include "web/page_frame.h"
#include "web/page_state.h"
#include "web/web_program.h"

#include <SDL.h>
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstddef>
#include <cstdint>
#include <string>

PageState pageState;

namespace {

SDL_Surface* frameMemory = nullptr;  // the window's pixels, when the page may fill and copy them itself
std::string constants;               // pageConstants(), kept for page.js to read
std::string answerText;              // the last text handed to page.js, kept until the next

const Picture& shownPicture()
{
    return pictureFor(app.choice);
}

// Opens the window for the answer; the software renderer draws the same pixels as the desktop's.
void openPicture(const std::string& answer)
{
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    SDL_SetHint(SDL_HINT_EMSCRIPTEN_KEYBOARD_ELEMENT, "#canvas");
    SDL_SetMainReady();
    app.choice = answer;
    pageState.mediaReady = openWindow();
    frameMemory = findFrameMemory();
    // The pictures take no keys from the library: the page gives them, and Tab must leave the canvas.
    emscripten_set_keydown_callback("#canvas", nullptr, 0, nullptr);
    emscripten_set_keyup_callback("#canvas", nullptr, 0, nullptr);
    emscripten_set_keypress_callback("#canvas", nullptr, 0, nullptr);
}

// The page's hook for every frame drawn, given the frame's link.
EM_JS(void, tellFrameDrawn, (const char* link), {
    if (Module.frameDrawn) {
        Module.frameDrawn(UTF8ToString(link));
    }
});

// The page's hook for a finished GIF: its bytes, copied out of the program's memory, become a file
// for the page to hand over.
EM_JS(void, tellGifRecorded, (const std::uint8_t* bytes, std::size_t size, const char* name), {
    if (Module.gifRecorded) {
        Module.gifRecorded(new Blob([HEAPU8.slice(bytes, bytes + size)], {type: 'image/gif'}), UTF8ToString(name));
    }
});

// Whether a picture is on the canvas, live or frozen.
bool pictureShown()
{
    return (pageState.shows == kShowsLive || pageState.shows == kShowsFrozen) && pageState.frameOnCanvas;
}

// Ends the GIF being recorded, if any; the window's memory, where its frames were drawn, gets the
// canvas's frame back, so that it holds what the canvas shows, as it did before.
void stopRecording()
{
    if (pageState.recording.active) {
        endRecording(pageState.recording);
        if (pictureShown()) {
            redrawPageFrame();
        }
    }
}

// The page moved the pointer or the clock: the live picture takes turns again.
void wake()
{
    if (pageState.resting && pageState.shows == kShowsLive) {
        pageState.resting = false;
        emscripten_resume_main_loop();
    }
}

// The page's turn, each time the browser is about to paint: the frame is drawn again only when
// what steers the picture has moved; otherwise the canvas keeps the last one, the same pixels.
void pageTurn()
{
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        // the pointer and the keys reach the picture from the page; nothing else is looked at
    }
    pageState.turnClock = SDL_GetTicks();
    const FrameInputs now = lessonFrame(pageState.lesson, pageState.turnClock, kFrameCentre);
    if (frameMustBeDrawn(pageState, now)) {
        drawPageFrame(now);
    } else if (app.running && mayRest(pageState)) {
        pageState.resting = true;
        emscripten_pause_main_loop();
    }
}

// The live picture's parameter number i, or null.
const Parameter* liveParameter(int i)
{
    int count = 0;
    const Parameter* first = pageState.shows == kShowsLive ? pictureParameters(shownPicture(), count) : nullptr;
    return i >= 0 && i < count ? first + i : nullptr;
}

// Puts typed inputs into the held picture: its clock or its pointer, whichever the value moved.
void holdAt(const Parameter& parameter, const FrameInputs& inputs, std::uint32_t now)
{
    if (parameter.input == kFromClock) {
        holdClockAt(pageState.lesson, inputs.ticks, now);
    } else {
        holdLesson(pageState.lesson, true, now);
        placePointer(pageState.lesson, inputs.mouse);
    }
    wake();
}

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        out += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
    }
    return out + "\"";
}

}  // namespace

void drawPageFrame(const FrameInputs& inputs)
{
    app.frameTicks = inputs.ticks;
    drawFrame(shownPicture(), inputs, frameMemory);
    showFrame(frameMemory);
    pageState.frameOnCanvas = true;
    pageState.drawn = inputs;
    ++pageState.framesDrawn;
    tellFrameDrawn(frozenLink(app.choice, inputs).c_str());
}

void redrawPageFrame()
{
    drawFrame(shownPicture(), pageState.drawn, frameMemory);
}

void showPageFrame()
{
    showFrame(frameMemory);
}

extern "C" {

// The constants page.js works with (see pageConstants).
EMSCRIPTEN_KEEPALIVE const char* plotnik_page_constants()
{
    constants = pageConstants();
    return constants.c_str();
}

EMSCRIPTEN_KEEPALIVE int plotnik_menu_count()
{
    return kPictureCount;
}

EMSCRIPTEN_KEEPALIVE const char* plotnik_menu_line(int i)
{
    return i >= 0 && i < kPictureCount ? kPictures[i].line : "";
}

EMSCRIPTEN_KEEPALIVE const char* plotnik_menu_answer(int i)
{
    return i >= 0 && i < kPictureCount ? kPictures[i].answer : "";
}

// What the picture shown in the canvas is called and what it shows, in Polish.
EMSCRIPTEN_KEEPALIVE const char* plotnik_picture_line()
{
    const bool shown = pageState.shows == kShowsLive || pageState.shows == kShowsFrozen;
    return shown ? shownPicture().line : "";
}

EMSCRIPTEN_KEEPALIVE const char* plotnik_picture_description()
{
    const bool shown = pageState.shows == kShowsLive || pageState.shows == kShowsFrozen;
    return shown ? shownPicture().description : "";
}

// What makes the live picture's frame change (a Steering); nothing when no picture is live.
EMSCRIPTEN_KEEPALIVE int plotnik_live_steering()
{
    return pageState.shows == kShowsLive ? pageState.lesson.steering : kSteeredByNothing;
}

// Closes the picture as closing the window does: its last frame is drawn (when it would differ
// from the one on the canvas), everything it opened is released.
EMSCRIPTEN_KEEPALIVE void plotnik_close()
{
    stopRecording();
    if (pageState.shows == kShowsLive) {
        emscripten_cancel_main_loop();
        app.running = false;
        pageTurn();  // the last frame, if it differs from the one on the canvas
    }
    if (pageState.mediaReady) {
        closeWindow();
        pageState.mediaReady = false;
    }
    frameMemory = nullptr;
    pageState.shows = kShowsMenu;
}

// Shows what the link asks for, after closing whatever picture is open: the menu, a live picture
// or a frozen frame (drawn before this returns), or nothing for a bad link or a picture that could
// not be opened (plotnik_message says why). Answers a PageShows.
EMSCRIPTEN_KEEPALIVE int plotnik_open_link(const char* fragment)
{
    plotnik_close();
    FrameLink link;
    pageState.message = readFrameLink(fragment != nullptr ? fragment : "", link);
    if (!pageState.message.empty()) {
        pageState.shows = kShowsRefused;
        return pageState.shows;
    }
    if (link.answer.empty()) {
        return pageState.shows;
    }
    openPicture(link.answer);
    if (!pageState.mediaReady) {
        pageState.message = std::string("Nie udało się otworzyć obrazu: ") + SDL_GetError();
        pageState.shows = kShowsRefused;
        return pageState.shows;
    }
    pageState.frameOnCanvas = false;
    // The clock starts with the media library's, at 0, running at the page's pace.
    pageState.lesson = startLesson(shownPicture().steering);
    if (link.frozen) {
        drawPageFrame(link.inputs);
        pageState.shows = kShowsFrozen;
    } else {
        pageState.resting = false;
        emscripten_set_main_loop(pageTurn, 0, 0);
        pageState.shows = kShowsLive;
    }
    return pageState.shows;
}

// Where the pointer is over a live picture, in frame pixels; the page maps it from wherever and
// however large the canvas is drawn. A held picture keeps its pointer.
EMSCRIPTEN_KEEPALIVE void plotnik_point_at(int x, int y)
{
    if (pageState.shows == kShowsLive && pointerMoved(pageState.lesson, SDL_Point{x, y})) {
        wake();
    }
}

// Holds the live picture (1) or lets it run on (0); answers whether it is held.
EMSCRIPTEN_KEEPALIVE int plotnik_pause(int held)
{
    holdLesson(pageState.lesson, held != 0, SDL_GetTicks());
    wake();
    return isHeld(pageState.lesson) ? 1 : 0;
}

// A lesson key (a LessonKey), with Shift or without; answers 1 when it did something, so that the
// page keeps the key from the browser, else 0.
EMSCRIPTEN_KEEPALIVE int plotnik_key(int key, int shift)
{
    if (pageState.shows != kShowsLive || key < 0 || key >= kLessonKeyCount) {
        return 0;
    }
    const bool used = pressLessonKey(pageState.lesson, static_cast<LessonKey>(key), shift != 0, SDL_GetTicks());
    if (used) {
        wake();
    }
    return used ? 1 : 0;
}

// The live picture's clock speed against the page's clock (refused outside (0, 16]: the answer
// is 0).
EMSCRIPTEN_KEEPALIVE int plotnik_set_speed(double speed)
{
    return setClockSpeed(pageState.lesson.clock, speed, SDL_GetTicks()) ? 1 : 0;
}

// Whether the live picture is held (1) or runs (0).
EMSCRIPTEN_KEEPALIVE int plotnik_held()
{
    return isHeld(pageState.lesson) ? 1 : 0;
}

// The live picture's parameters with the values of the frame on the canvas, as a JSON array of
// {"id", "label", "value"}; [] for a still picture or none.
EMSCRIPTEN_KEEPALIVE const char* plotnik_parameters()
{
    answerText = "[";
    for (int i = 0; liveParameter(i) != nullptr; ++i) {
        const Parameter& p = *liveParameter(i);
        answerText += std::string(i == 0 ? "" : ",") + "{\"id\":" + quoted(p.id) + ",\"label\":" + quoted(p.label) +
                      ",\"value\":" + quoted(formatParameter(p, parameterValue(p, pageState.drawn))) + "}";
    }
    answerText += "]";
    return answerText.c_str();
}

// A value typed into parameter i: the picture is held at the frame whose value is nearest. "" when
// done, else the Polish sentence the page shows beside the field.
EMSCRIPTEN_KEEPALIVE const char* plotnik_set_parameter(int i, const char* text)
{
    const Parameter* parameter = liveParameter(i);
    if (parameter == nullptr || text == nullptr) {
        answerText = "";
        return answerText.c_str();
    }
    const std::uint32_t now = SDL_GetTicks();
    FrameInputs inputs = lessonFrame(pageState.lesson, now, kFrameCentre);
    answerText = setParameter(*parameter, text, inputs);
    if (answerText.empty()) {
        holdAt(*parameter, inputs, now);
    }
    return answerText.c_str();
}

// Parameter i one step up (1) or down (-1), the picture held there.
EMSCRIPTEN_KEEPALIVE void plotnik_step_parameter(int i, int direction)
{
    const Parameter* parameter = liveParameter(i);
    if (parameter != nullptr) {
        const std::uint32_t now = SDL_GetTicks();
        FrameInputs inputs = lessonFrame(pageState.lesson, now, kFrameCentre);
        stepParameter(*parameter, direction < 0 ? -1 : 1, inputs);
        holdAt(*parameter, inputs, now);
    }
}

EMSCRIPTEN_KEEPALIVE const char* plotnik_message()
{
    return pageState.message.c_str();
}

// What steers the picture shown, live or frozen (a Steering); nothing on the menu.
EMSCRIPTEN_KEEPALIVE int plotnik_picture_steering()
{
    const bool shown = pageState.shows == kShowsLive || pageState.shows == kShowsFrozen;
    return shown ? shownPicture().steering : kSteeredByNothing;
}

// The name the frame on the canvas is saved under (frameFileName); "" with no frame there.
EMSCRIPTEN_KEEPALIVE const char* plotnik_frame_file_name()
{
    answerText = pictureShown() ? frameFileName(shownPicture(), pageState.drawn) : "";
    return answerText.c_str();
}

// Starts recording a GIF of the clock picture shown, from the frame on the canvas, seconds long at
// fps frames a second, the clock at the live picture's speed (a frozen frame's at the real pace).
// "" when started, else why not, in Polish.
EMSCRIPTEN_KEEPALIVE const char* plotnik_record_begin(int seconds, int fps)
{
    stopRecording();
    if (!pictureShown()) {
        answerText = "Nie ma obrazu do nagrania.";
        return answerText.c_str();
    }
    const double speed = pageState.shows == kShowsLive ? pageState.lesson.clock.speed : 1.0;
    answerText = beginRecording(pageState.recording, shownPicture(), pageState.drawn.ticks, seconds, fps, speed);
    return answerText.c_str();
}

// The frames of the GIF being recorded, 0 with none.
EMSCRIPTEN_KEEPALIVE int plotnik_record_frames()
{
    return pageState.recording.frames;
}

// Records the next frame of the GIF into the window's memory, never onto the canvas; after the
// last one the GIF goes to the page (Module.gifRecorded) and the recording ends. Answers the
// frames done, or -1 when it failed (answerText says why: plotnik_record_problem).
EMSCRIPTEN_KEEPALIVE int plotnik_record_frame()
{
    Recording& recording = pageState.recording;
    answerText = recordFrame(recording, shownPicture(), frameMemory);
    if (!answerText.empty()) {
        stopRecording();
        return -1;
    }
    const int done = recording.done;
    if (done == recording.frames) {
        tellGifRecorded(recording.bytes.data(), recording.bytes.size(), recording.fileName.c_str());
        stopRecording();
    }
    return done;
}

// Why the last frame could not be recorded.
EMSCRIPTEN_KEEPALIVE const char* plotnik_record_problem()
{
    return answerText.c_str();
}

// Abandons the GIF being recorded: nothing goes to the page, its memory is given back.
EMSCRIPTEN_KEEPALIVE void plotnik_record_cancel()
{
    stopRecording();
}

}  // extern "C"
