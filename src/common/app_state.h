// The one record the whole program shares: this cycle's window, renderer and fonts, the frame clock
// and the user's menu answer.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <string>

struct AppState {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    TTF_Font* largeFont = nullptr;  // 24 pt, parameter readouts
    TTF_Font* smallFont = nullptr;  // 16 pt, titles
    bool running = false;
    std::uint32_t frameTicks = 0;  // milliseconds, sampled once at the start of every frame
    std::string choice;            // the menu answer, one whitespace-free token
};

extern AppState app;

// Window size in pixels; every scene draws into this frame.
constexpr int kWindowWidth = 1280;
constexpr int kWindowHeight = 720;
// The frame's centre, (640, 360): where the keys start a pointer, and the centre of the pictures
// drawn about the middle of the window.
constexpr SDL_Point kFrameCentre{kWindowWidth / 2, kWindowHeight / 2};
