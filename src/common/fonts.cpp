// The font file, read into memory once per window, and the two fonts opened from that copy.
#include "common/fonts.h"

#include "common/app_state.h"
#include "common/files.h"
#include "common/text.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <initializer_list>
#include <string>

namespace {

const char* const kFontName = "Assets/Calibri.ttf";
const char* const kSystemFont = "/usr/share/fonts/truetype/crosextra/Carlito-Regular.ttf";
constexpr int kLargeFontSize = 24;
constexpr int kSmallFontSize = 16;
constexpr Sint64 kMaxFontBytes = 64 * 1024 * 1024;  // no font file comes near this

// This window's copy of the font file. Both fonts read their glyphs from it: the text library
// reloads glyphs often (its cache holds few), and memory serves them far faster than the file.
void* fontFile = nullptr;

// Reads the whole font file into memory; 0 (with the library's error text set) when it cannot.
Sint64 loadFontFile(const char* path)
{
    SDL_RWops* file = SDL_RWFromFile(path, "rb");
    if (file == nullptr) {
        return 0;
    }
    const Sint64 size = SDL_RWsize(file);
    if (size > 0 && size <= kMaxFontBytes) {
        fontFile = SDL_malloc(static_cast<std::size_t>(size));
        if (fontFile != nullptr &&
            SDL_RWread(file, fontFile, 1, static_cast<std::size_t>(size)) != static_cast<std::size_t>(size)) {
            SDL_free(fontFile);
            fontFile = nullptr;
        }
    }
    SDL_RWclose(file);
    if (fontFile == nullptr) {
        SDL_SetError("Couldn't read %s", path);
        return 0;
    }
    return size;
}

}  // namespace

std::vector<std::string> fontCandidates()
{
    std::vector<std::string> candidates = {kFontName};
    char* base = SDL_GetBasePath();  // with its trailing slash; null when it cannot be told
    if (base != nullptr) {
        candidates.push_back(std::string(base) + kFontName);
        SDL_free(base);
    }
    candidates.push_back(kSystemFont);
    return candidates;
}

void openFonts(const std::vector<std::string>& candidates)
{
    // The first candidate that exists is the one read; with none, the first is named.
    std::string chosen = candidates.empty() ? kFontName : candidates.front();
    for (const std::string& candidate : candidates) {
        if (existsAtAll(candidate)) {  // only where there is nothing does the search go on
            chosen = candidate;
            break;
        }
    }
    const Sint64 size = loadFontFile(chosen.c_str());
    if (size > 0) {
        const int bytes = static_cast<int>(size);
        app.largeFont = TTF_OpenFontRW(SDL_RWFromConstMem(fontFile, bytes), 1, kLargeFontSize);
        app.smallFont = TTF_OpenFontRW(SDL_RWFromConstMem(fontFile, bytes), 1, kSmallFontSize);
    }
    if (app.largeFont == nullptr) {
        const std::string line = std::string("TTF_OpenFont: ") + TTF_GetError();
        printLine(line.c_str());
    }
}

void closeFonts()
{
    for (TTF_Font** font : {&app.largeFont, &app.smallFont}) {
        if (*font != nullptr) {
            TTF_CloseFont(*font);
        }
        *font = nullptr;
    }
    SDL_free(fontFile);
    fontFile = nullptr;
}
