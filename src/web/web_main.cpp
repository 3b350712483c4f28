// The web page's program: the functions page.js calls, each handing the page's call to its state
// (page_state.*, where every decision is made and tested natively), and the browser's side of a
// picture: its window in the canvas, the turns the browser gives a live picture, and the hooks by
// which the page hears of a frame drawn and a GIF recorded. The hooks only tests and benchmarks
// call are in test_hooks.cpp.
#include "common/app_state.h"
#include "common/fonts.h"
#include "common/window.h"
#include "pictures/frame_link.h"
#include "pictures/lesson.h"
#include "pictures/pictures.h"
#include "web/labels_font.h"
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

// Opens the window for the answer; the software renderer draws the same pixels as the desktop's.
bool openPicture(const std::string& answer, std::string& why)
{
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    SDL_SetHint(SDL_HINT_EMSCRIPTEN_KEYBOARD_ELEMENT, "#canvas");
    SDL_SetMainReady();
    app.choice = answer;
    pageState.picture = &pictureFor(answer);
    useFontInMemory(kLabelsFont, kLabelsFontSize);
    pageState.mediaReady = openWindow(kInPage, why);
    pageState.frameMemory = findFrameMemory();
    // The pictures take no keys from the library: the page gives them, and Tab must leave the canvas.
    emscripten_set_keydown_callback("#canvas", nullptr, 0, nullptr);
    emscripten_set_keyup_callback("#canvas", nullptr, 0, nullptr);
    emscripten_set_keypress_callback("#canvas", nullptr, 0, nullptr);
    return pageState.mediaReady;
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

// The page moved the pointer or the clock: the live picture takes turns again.
void wake()
{
    if (wakePage(pageState)) {
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

// Keeps a text for page.js to read until the next one.
const char* answerWith(const std::string& text)
{
    pageState.answer = text;
    return pageState.answer.c_str();
}

}  // namespace

void wakeLivePicture()
{
    wake();
}

void drawPageFrame(const FrameInputs& inputs)
{
    app.frameTicks = inputs.ticks;
    drawFrame(*pageState.picture, inputs, pageState.frameMemory);
    showFrame(pageState.frameMemory);
    pageState.frameOnCanvas = true;
    pageState.drawn = inputs;
    ++pageState.framesDrawn;
    tellFrameDrawn(frozenLink(app.choice, inputs).c_str());
}

void redrawPageFrame()
{
    drawFrame(*pageState.picture, pageState.drawn, pageState.frameMemory);
}

void showPageFrame()
{
    showFrame(pageState.frameMemory);
}

extern "C" {

// The constants page.js works with (see pageConstants).
EMSCRIPTEN_KEEPALIVE const char* plotnik_page_constants()
{
    return answerWith(pageConstants());
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
    return pictureOpen(pageState) ? pageState.picture->line : "";
}

EMSCRIPTEN_KEEPALIVE const char* plotnik_picture_description()
{
    return pictureOpen(pageState) ? pageState.picture->description : "";
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
    endPageRecording(pageState);
    if (pageState.shows == kShowsLive) {
        emscripten_cancel_main_loop();
        app.running = false;
        pageTurn();  // the last frame, if it differs from the one on the canvas
    }
    if (pageState.mediaReady) {
        closeWindow();
        pageState.mediaReady = false;
    }
    pageState.frameMemory = nullptr;
    pageState.shows = kShowsMenu;
}

// Shows what the link asks for, after closing whatever picture is open: the menu, a live picture
// or a frozen frame (drawn before this returns), or nothing for a bad link or a picture that could
// not be opened (plotnik_message says why). Answers a PageShows.
EMSCRIPTEN_KEEPALIVE int plotnik_open_link(const char* fragment)
{
    plotnik_close();
    FrameLink link;
    pageState.message.clear();
    if (!readFrameLink(fragment != nullptr ? fragment : "", link, pageState.message)) {
        pageState.shows = kShowsRefused;
        return pageState.shows;
    }
    if (link.answer.empty()) {
        lessonChanged();
        return pageState.shows;
    }
    std::string why;
    if (!openPicture(link.answer, why)) {
        pageState.message = "Nie udało się otworzyć obrazu: " + why;
        pageState.shows = kShowsRefused;
        return pageState.shows;
    }
    pageState.frameOnCanvas = false;
    // The clock starts with the media library's, at 0, running at the page's pace.
    pageState.lesson = startLesson(pageState.picture->steering);
    if (link.frozen) {
        drawPageFrame(link.inputs);
        pageState.shows = kShowsFrozen;
    } else {
        pageState.resting = false;
        emscripten_set_main_loop(pageTurn, 0, 0);
        pageState.shows = kShowsLive;
    }
    lessonChanged();
    return pageState.shows;
}

// Where the pointer is over a live picture, in frame pixels; the page maps it from wherever and
// however large the canvas is drawn. A held picture keeps its pointer.
EMSCRIPTEN_KEEPALIVE void plotnik_point_at(int x, int y)
{
    if (pageState.shows == kShowsLive && pointerMoved(pageState.lesson, SDL_Point{x, y})) {
        wake();
        lessonChanged();
    }
}

// Holds the live picture (1) or lets it run on (0); answers whether it is held.
EMSCRIPTEN_KEEPALIVE int plotnik_pause(int held)
{
    holdLesson(pageState.lesson, held != 0, SDL_GetTicks());
    wake();
    lessonChanged();
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
        lessonChanged();
    }
    return used ? 1 : 0;
}

// The live picture's clock speed against the page's clock (refused outside (0, 16]: the answer
// is 0).
EMSCRIPTEN_KEEPALIVE int plotnik_set_speed(double speed)
{
    const bool set = setClockSpeed(pageState.lesson.clock, speed, SDL_GetTicks());
    if (set) {
        lessonChanged();
    }
    return set ? 1 : 0;
}

// Whether the live picture is held (1) or runs (0).
EMSCRIPTEN_KEEPALIVE int plotnik_held()
{
    return isHeld(pageState.lesson) ? 1 : 0;
}

// The live picture's parameters with the values of the frame on the canvas (parametersJson).
EMSCRIPTEN_KEEPALIVE const char* plotnik_parameters()
{
    return answerWith(parametersJson(pageState));
}

// A value typed into parameter i: the picture is held at the frame whose value is nearest. "" when
// done, else the Polish sentence the page shows beside the field.
EMSCRIPTEN_KEEPALIVE const char* plotnik_set_parameter(int i, const char* text)
{
    std::string why;
    if (text == nullptr || !typeParameter(pageState, i, text, SDL_GetTicks(), why)) {
        return answerWith(why);
    }
    wake();
    lessonChanged();
    return answerWith("");
}

// Parameter i one step up (1) or down (-1), the picture held there.
EMSCRIPTEN_KEEPALIVE void plotnik_step_parameter(int i, int direction)
{
    if (stepLiveParameter(pageState, i, direction, SDL_GetTicks())) {
        wake();
        lessonChanged();
    }
}

EMSCRIPTEN_KEEPALIVE const char* plotnik_message()
{
    return pageState.message.c_str();
}

// What steers the picture shown, live or frozen (a Steering); nothing on the menu.
EMSCRIPTEN_KEEPALIVE int plotnik_picture_steering()
{
    return pictureOpen(pageState) ? pageState.picture->steering : kSteeredByNothing;
}

// The name the frame on the canvas is saved under; "" with no frame there.
EMSCRIPTEN_KEEPALIVE const char* plotnik_frame_file_name()
{
    return answerWith(canvasFileName(pageState));
}

// Starts recording a GIF of the clock picture shown (beginPageRecording). "" when started, else
// why not, in Polish.
EMSCRIPTEN_KEEPALIVE const char* plotnik_record_begin(int seconds, int fps)
{
    std::string why;
    return answerWith(beginPageRecording(pageState, seconds, fps, why) ? "" : why);
}

// The frames of the GIF being recorded, 0 with none.
EMSCRIPTEN_KEEPALIVE int plotnik_record_frames()
{
    return pageState.recording.frames;
}

// Records the next frame of the GIF into the window's memory, never onto the canvas; after the
// last one the GIF goes to the page (Module.gifRecorded) and the recording ends. Answers the
// frames done, or -1 when it failed and the recording ended (plotnik_record_problem says why).
EMSCRIPTEN_KEEPALIVE int plotnik_record_frame()
{
    std::string why;
    if (!recordPageFrame(pageState, why)) {
        answerWith(why);
        return -1;
    }
    const Recording& recording = pageState.recording;
    const int done = recording.done;
    if (done == recording.frames) {
        tellGifRecorded(recording.bytes.data(), recording.bytes.size(), recording.fileName.c_str());
        endPageRecording(pageState);
    }
    return done;
}

// Why the last frame could not be recorded.
EMSCRIPTEN_KEEPALIVE const char* plotnik_record_problem()
{
    return pageState.answer.c_str();
}

// Abandons the GIF being recorded: nothing goes to the page, its memory is given back.
EMSCRIPTEN_KEEPALIVE void plotnik_record_cancel()
{
    endPageRecording(pageState);
}

}  // extern "C"
