// The functions a lesson with a class calls in the page's program, each handing the call to
// class_state.* or class_code.*, and the page's hook for every change of the live picture's lesson
// that the page itself made (a teacher's page publishes its state then).
#include "common/app_state.h"
#include "pictures/class_code.h"
#include "pictures/frame_link.h"
#include "web/class_state.h"
#include "web/web_program.h"

#include <SDL.h>
#include <emscripten.h>

#include <sys/random.h>

#include <string>
#include <vector>

namespace {

EM_JS(void, tellLessonChanged, (), {
    if (Module.lessonChanged) {
        Module.lessonChanged();
    }
});

// Keeps a text for the page's script to read until the next one.
std::string classAnswer;
const char* answerWith(const std::string& text)
{
    classAnswer = text;
    return classAnswer.c_str();
}

// The last answer drawn, for the script to copy out of the program's memory.
std::vector<std::uint8_t> answerPixels;

// The browser's own random numbers (crypto.getRandomValues), as getentropy gives them.
void browserRandom(std::uint8_t* bytes, std::size_t count)
{
    while (count > 0) {
        const std::size_t part = count < 256 ? count : 256;
        if (getentropy(bytes, part) != 0) {
            abort();  // no randomness: no code may be drawn
        }
        bytes += part;
        count -= part;
    }
}

// A frame link of a picture in the table, read as the page reads links; false for anything else.
bool readFrame(const char* text, FrameLink& link)
{
    std::string why;
    return text != nullptr && readFrameLink(text, link, why) && link.frozen &&
           pictureFor(link.answer).answer == link.answer;
}

}  // namespace

void lessonChanged()
{
    tellLessonChanged();
}

extern "C" {

// The class's own constants, as one JSON object: the size of an answer's small picture.
EMSCRIPTEN_KEEPALIVE const char* plotnik_class_constants()
{
    return answerWith("{\"answer\":{\"width\":" + std::to_string(kWindowWidth / kAnswerScale) +
                      ",\"height\":" + std::to_string(kWindowHeight / kAnswerScale) + "}}");
}

// The keys of a lesson with a class in a link: {"code":"K7M3X","teacher":"K7.<token>"}, each ""
// when the link has none; both "" for a link the page refuses.
EMSCRIPTEN_KEEPALIVE const char* plotnik_class_keys(const char* fragment)
{
    FrameLink link;
    std::string why;
    if (fragment == nullptr || !readFrameLink(fragment, link, why)) {
        link = FrameLink{};
    }
    // Codes and keys hold no character JSON would escape.
    return answerWith("{\"code\":\"" + link.classCode + "\",\"teacher\":\"" + link.teacherKey + "\"}");
}

// A class code as a pupil typed it, written as the page shows it; "" when it is none.
EMSCRIPTEN_KEEPALIVE const char* plotnik_class_code(const char* typed)
{
    std::string code;
    return answerWith(typed != nullptr && readClassCode(typed, code) ? code : "");
}

// The teacher's code (the first two characters) of a teacher's key; "" when the key is none.
EMSCRIPTEN_KEEPALIVE const char* plotnik_key_teacher(const char* key)
{
    std::string teacher;
    std::string token;
    return answerWith(key != nullptr && readTeacherKey(key, teacher, token) ? teacher : "");
}

// A new class code for a lesson of the teacher of this key; "" when the key is none.
EMSCRIPTEN_KEEPALIVE const char* plotnik_new_class_code(const char* key)
{
    std::string teacher;
    std::string token;
    if (key == nullptr || !readTeacherKey(key, teacher, token)) {
        return answerWith("");
    }
    return answerWith(newClassCode(teacher, browserRandom));
}

// The subject of a class's state, hello or answer ("state", "hello", "answer"); "" for a code
// that is none.
EMSCRIPTEN_KEEPALIVE const char* plotnik_class_subject(const char* code, const char* what)
{
    std::string read;
    if (code == nullptr || what == nullptr || !readClassCode(code, read) || read != code) {
        return answerWith("");
    }
    return answerWith(classSubject(read, what));
}

// The teacher's state now (lessonStateJson).
EMSCRIPTEN_KEEPALIVE const char* plotnik_lesson_state()
{
    return answerWith(lessonStateJson(pageState, SDL_GetTicks()));
}

// The answer of the live picture ("4"); "" when none is live.
EMSCRIPTEN_KEEPALIVE const char* plotnik_live_answer()
{
    return pageState.shows == kShowsLive && pageState.picture != nullptr ? pageState.picture->answer : "";
}

// Follows a teacher's state (followLesson) on the live picture: 1 when followed, else 0 and
// nothing changed. The page opens the link's picture live first.
EMSCRIPTEN_KEEPALIVE int plotnik_follow(const char* link, int held, double speed, double elapsedMs)
{
    FrameLink frame;
    if (!readFrame(link, frame) ||
        !followLesson(pageState, frame, held != 0, speed, elapsedMs, SDL_GetTicks())) {
        return 0;
    }
    wakeLivePicture();
    return 1;
}

// The values an answer's frame shows (frameValues), "" for a link that is no frame of a picture;
// a still picture's are "" too, so the page tells them apart by plotnik_frame_answer.
EMSCRIPTEN_KEEPALIVE const char* plotnik_frame_values(const char* link)
{
    FrameLink frame;
    return answerWith(readFrame(link, frame) ? frameValues(pictureFor(frame.answer), frame.inputs) : "");
}

// The picture of a frame link ("4"), "" for a link that is no frame of a picture in the table.
EMSCRIPTEN_KEEPALIVE const char* plotnik_frame_answer(const char* link)
{
    FrameLink frame;
    return answerWith(readFrame(link, frame) ? frame.answer : "");
}

// Draws an answer's small picture (drawAnswer): where its RGBA pixels are in the program's memory,
// plotnik_class_constants' size; 0 when the link is no frame or it cannot be drawn now.
EMSCRIPTEN_KEEPALIVE std::uint8_t* plotnik_draw_answer(const char* link)
{
    FrameLink frame;
    std::string why;
    if (!readFrame(link, frame) || !drawAnswer(pageState, pictureFor(frame.answer), frame.inputs, answerPixels, why)) {
        return nullptr;
    }
    return answerPixels.data();
}

}  // extern "C"
