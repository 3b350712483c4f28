// What a lesson with a class needs of the page's program: the state a teacher's page publishes,
// a pupil's page following it, and an answer's values and small picture on the teacher's page.
// The messages themselves, the server and the panels are the page's script's; every decision about
// frames and clocks is made here, tested natively.
#pragma once

#include "pictures/frame_link.h"
#include "web/page_state.h"

#include <cstdint>
#include <string>
#include <vector>

// The state a teacher's page publishes for its class at the page's time now, one JSON object: the
// frame shown then as its frozen link (a running clock's value at now), whether the picture is
// held, and the clock's speed:
//   {"link":"answer=7&mouse=640,360&ticks=2345","held":false,"speed":1}
// A frozen frame is held at its link; on the menu the link is "".
std::string lessonStateJson(const PageState& page, std::uint32_t now);

// Follows a teacher's state on the live picture of the link's answer, at the page's time now: the
// clock at the link's ticks, plus what it ran at the speed in the elapsedMs since the teacher's
// page was at them (nothing when held, nothing for a negative time), held or running at that speed;
// the pointer where the link has it. False, changing nothing, when the live picture is not the
// link's, the link is no frame, or the speed is not one a clock runs at.
bool followLesson(PageState& page, const FrameLink& link, bool held, double speed, double elapsedMs,
                  std::uint32_t now);

// The values a frame's picture shows, as the teacher's panel writes them beside a pupil's answer:
// each parameter's label and value as its field shows it, with a minus sign for a minus,
// "a = −0,7000; b = −8,5000"; "" for a still picture.
std::string frameValues(const Picture& picture, const FrameInputs& inputs);

// An answer's small picture is its frame reduced this many times each way.
constexpr int kAnswerScale = 4;

// Reduces a frame of 3-byte RGB pixels (rows pitch bytes apart) scale times each way: each small
// pixel is the rounded mean of its scale x scale square, as 4-byte RGBA, opaque.
void reduceFrame(const std::uint8_t* rgb, int width, int height, int pitch, int scale,
                 std::vector<std::uint8_t>& rgba);

// Draws a frame of any picture as every front end draws it, into the window's memory (never onto
// the canvas), reads it back and reduces it (reduceFrame, kAnswerScale) into rgba; then the
// canvas's own frame is drawn back into the window's memory. False, with why in Polish, when no
// window is open or the frame cannot be read.
bool drawAnswer(PageState& page, const Picture& picture, const FrameInputs& inputs, std::vector<std::uint8_t>& rgba,
                std::string& why);
