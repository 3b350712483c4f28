// Labels in the window, formatted numbers and console lines.
#include "common/text.h"

#include "common/app_state.h"

#include <cstdarg>
#include <cstdio>

void drawLabel(TTF_Font* font, const char* text, SDL_Color colour, int x, int y)
{
    if (font == nullptr || app.renderer == nullptr) {
        return;
    }
    SDL_Surface* surface = TTF_RenderText_Solid(font, text, colour);
    if (surface == nullptr) {
        return;
    }
    SDL_Texture* texture = SDL_CreateTextureFromSurface(app.renderer, surface);
    const SDL_Rect destination{x, y, surface->w, surface->h};
    SDL_FreeSurface(surface);
    if (texture == nullptr) {
        return;
    }
    SDL_RenderCopy(app.renderer, texture, nullptr, &destination);
    SDL_DestroyTexture(texture);
}

void formatText(char* buffer, std::size_t capacity, const char* format, ...)
{
    if (buffer == nullptr || capacity == 0) {
        return;
    }
    va_list values;
    va_start(values, format);
    const int written = std::vsnprintf(buffer, capacity, format, values);
    va_end(values);
    if (written < 0) {
        buffer[0] = '\0';
    }
}

// Through the C library's stdout, which the console's std::cout shares (its streams are
// synchronised with it), so the lines come in the order written; a program that prints nothing
// else (the page) carries no C++ streams.
void printLine(const char* text)
{
    std::fputs(text, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
