// Text on screen and on the console: labels, printf-style formatting and status lines.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstddef>

// The colour of the pictures' titles and readouts: white.
constexpr SDL_Color kLabelColour{255, 255, 255, 0};

// Draws one line of text with its top-left corner at (x, y), at the font's natural size.
// Draws nothing when the font is missing or the text renders to no surface. Leaves the
// renderer's draw colour alone.
void drawLabel(TTF_Font* font, const char* text, SDL_Color colour, int x, int y);

// printf-style formatting into buffer, which holds capacity bytes including the terminating zero.
// Never writes past capacity; the text is always terminated (cut short if it does not fit).
void formatText(char* buffer, std::size_t capacity, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

// Writes the text and an end of line to standard output and flushes it.
void printLine(const char* text);
