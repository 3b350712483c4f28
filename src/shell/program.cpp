// The menu, the cycle of window and frames, and the frame loop.
#include "shell/program.h"

#include "shell/app_state.h"
#include "shell/dispatch.h"
#include "shell/text.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <unistd.h>

#include <iostream>
#include <string>

AppState app;

namespace {

constexpr Uint32 kAllSubsystems = 0xF231;  // timer, audio, video, joystick, haptic, controller, events, sensor
const char* const kFontPath = "Assets/Calibri.ttf";
constexpr int kLargeFontSize = 24;
constexpr int kSmallFontSize = 16;
constexpr Sint64 kMaxFontBytes = 64 * 1024 * 1024;  // no font file comes near this

const char* const kMenuLines[] = {
    "1 - Funkcje trygonometryczne",
    "2 - Odwzorowanie logistyczne",
    "3 - Diagram bifurkacyjny odwzorowania logistycznego",
    "4 - Funkcja kwadratowa",
    "5 - Spirala Ulama",
    "6 - Rotacja figury",
    "7 - Graficzne przedstawienie sinusa i cosinusa",
    "8 - Przesuniecie fazowe",
    "9 - Liczby pierwsze graf",
    "10 - Obliczony sinus",
    "",
};

// Whether the media library came up in this cycle; when it did not, the console keeps its error.
bool mediaReady = false;

// This cycle's copy of the font file. Both fonts read their glyphs from it: the text library
// reloads glyphs often (its cache holds few), and memory serves them far faster than the file.
void* fontFile = nullptr;

// Clears a terminal; a pipe or file gets nothing, so transcripts stay clean.
void clearConsole()
{
    if (isatty(STDOUT_FILENO)) {
        std::cout << "\033[2J\033[H" << std::flush;
    }
}

// Reads the whole font file into memory; 0 (with the library's error text set) when it cannot.
Sint64 loadFontFile()
{
    SDL_RWops* file = SDL_RWFromFile(kFontPath, "rb");
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
        SDL_SetError("Couldn't read %s", kFontPath);
        return 0;
    }
    return size;
}

}  // namespace

void printMenu()
{
    for (const char* line : kMenuLines) {
        printLine(line);
    }
    std::cout << "wybor: " << std::flush;
}

void openFonts()
{
    const Sint64 size = loadFontFile();
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
    if (app.largeFont != nullptr) {
        TTF_CloseFont(app.largeFont);
    }
    if (app.smallFont != nullptr) {
        TTF_CloseFont(app.smallFont);
    }
    app.largeFont = nullptr;
    app.smallFont = nullptr;
    SDL_free(fontFile);
    fontFile = nullptr;
}

bool beginCycle(std::istream& in)
{
    printMenu();
    if (!(in >> app.choice)) {
        return false;
    }

    // Ctrl-C and SIGTERM must end the process, not become quit events.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    mediaReady = SDL_Init(kAllSubsystems) == 0;
    if (!mediaReady) {
        const std::string line = std::string("SDL_Init: ") + SDL_GetError();
        printLine(line.c_str());
        app.running = false;
        return true;
    }
    printLine("Subsystems initialised!");
    app.window = SDL_CreateWindow("Plotnik", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                  kWindowWidth, kWindowHeight, 0);
    if (app.window != nullptr) {
        printLine("Window created!");
        app.renderer = SDL_CreateRenderer(app.window, -1, 0);
    }
    if (app.renderer != nullptr) {
        printLine("Renderer created!");
    }
    app.running = true;

    TTF_Init();
    openFonts();
    return true;
}

void runFrameLoop()
{
    while (app.running) {
        app.frameTicks = SDL_GetTicks();
        SDL_Event event;
        if (SDL_PollEvent(&event) != 0 && event.type == SDL_QUIT) {
            app.running = false;
        }
        SDL_SetRenderDrawColor(app.renderer, 0, 0, 0, 0);
        SDL_RenderClear(app.renderer);
        dispatchScene();
        SDL_RenderPresent(app.renderer);
    }
}

void endCycle()
{
    if (!mediaReady) {
        return;
    }
    closeFonts();
    TTF_Quit();
    if (app.renderer != nullptr) {
        SDL_DestroyRenderer(app.renderer);
    }
    if (app.window != nullptr) {
        SDL_DestroyWindow(app.window);
    }
    app.renderer = nullptr;
    app.window = nullptr;
    SDL_Quit();
    mediaReady = false;
    clearConsole();
}

bool runCycle(std::istream& in)
{
    if (!beginCycle(in)) {
        return false;
    }
    runFrameLoop();
    endCycle();
    return true;
}

void runProgram()
{
    while (runCycle(std::cin)) {
    }
}
