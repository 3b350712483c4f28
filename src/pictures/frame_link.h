// Links to a picture, as the page's address carries them: "#answer=4" opens picture 4 live;
// "#answer=4&mouse=720,240&ticks=1234" shows that one frame, frozen, as the exporter draws it.
// A link may also carry a lesson with a class: "#klasa=K7M3X" joins the class of that code (the
// pupils' address), "#nauczyciel=K7.<token>" gives a teacher's key (the teacher's address, which
// the page keeps for its tab and takes off the address at once). Fragments never reach a web
// server, so neither does the key.
#pragma once

#include "common/frame_inputs.h"
#include "pictures/pictures.h"

#include <cstdint>
#include <string>

struct FrameLink {
    std::string answer;   // the menu answer; empty for the menu itself
    bool frozen = false;  // mouse or ticks given: one still frame
    FrameInputs inputs;   // what is not given is 0
    std::string classCode;   // klasa=: the code of a class to join, as the page shows it; or empty
    std::string teacherKey;  // nauczyciel=: a teacher's key; or empty
};

// Reads what follows '#' in the page address (the '#' itself may be left on). An empty fragment
// is the menu, and so is one with only a class's keys. False for a bad link, with why, the message the page shows; link is only filled
// in for a good one.
bool readFrameLink(const std::string& fragment, FrameLink& link, std::string& why);

// The link that shows the answer's picture frozen at these inputs, without the '#': the answer
// escaped where an address needs it, so readFrameLink reads back the same.
std::string frozenLink(const std::string& answer, const FrameInputs& inputs);

// The name a saved frame goes by, from the picture's own menu answer (never a link's text) and
// what steers it: plotnik-7-t2345.png for a clock picture, plotnik-4-x720-y240.png (or
// plotnik-4-x520-y-40.png) for a mouse picture, plotnik-3.png for a still one.
std::string frameFileName(const Picture& picture, const FrameInputs& inputs);

// The name of an animated GIF of a clock picture from the clock at ticks, seconds long at fps
// frames a second: plotnik-7-t2345-2s-25fps.gif.
std::string gifFileName(const Picture& picture, std::uint32_t ticks, int seconds, int fps);
