// Test support: a 1280 x 720 window of SDL's dummy video driver whose renderer the scenes draw
// into, and the frame read back as pixels.
#pragma once

#include "common/app_state.h"
#include "common/fonts.h"
#include "common/frame_pixels.h"
#include "common/window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// 0x00RRGGBB, the layout Frame stores.
constexpr std::uint32_t rgb(int r, int g, int b)
{
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
           static_cast<std::uint32_t>(b);
}
constexpr std::uint32_t kBlack = rgb(0, 0, 0);
constexpr std::uint32_t kWhite = rgb(255, 255, 255);
constexpr std::uint32_t kRed = rgb(255, 0, 0);
constexpr std::uint32_t kGreen = rgb(0, 255, 0);
constexpr std::uint32_t kBlue = rgb(0, 0, 255);

struct Frame {
    std::vector<std::uint32_t> pixels;  // row by row, 0x00RRGGBB

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * kWindowWidth + x)]; }
    int count(std::uint32_t colour) const
    {
        int n = 0;
        for (std::uint32_t p : pixels) {
            n += p == colour ? 1 : 0;
        }
        return n;
    }
    // Pixels of the rectangle from (0, 0) up to (right, bottom), exclusive, that differ in other.
    int differencesIn(const Frame& other, int right, int bottom) const
    {
        int n = 0;
        for (int y = 0; y < bottom; ++y) {
            for (int x = 0; x < right; ++x) {
                n += at(x, y) != other.at(x, y) ? 1 : 0;
            }
        }
        return n;
    }
    // Rows of column x that have the colour, top to bottom.
    std::vector<int> rowsIn(int x, std::uint32_t colour) const
    {
        std::vector<int> rows;
        for (int y = 0; y < kWindowHeight; ++y) {
            if (at(x, y) == colour) {
                rows.push_back(y);
            }
        }
        return rows;
    }
    // Columns of row y that have the colour, left to right.
    std::vector<int> columnsIn(int y, std::uint32_t colour) const
    {
        std::vector<int> columns;
        for (int x = 0; x < kWindowWidth; ++x) {
            if (at(x, y) == colour) {
                columns.push_back(x);
            }
        }
        return columns;
    }
};

// Opens the media library, the headless window, its renderer and (optionally) the fonts into app,
// as the exporter does.
inline void openSceneWindow(bool withFonts = true)
{
    std::string why;
    ASSERT_TRUE(openWindow(kHeadless, why)) << why;
    if (withFonts) {
        ASSERT_NE(app.largeFont, nullptr) << "Assets/Calibri.ttf is needed in the working directory";
    } else {
        closeFonts();
    }
}

inline void closeSceneWindow()
{
    closeWindow();
}

inline Frame readFrame()
{
    Frame frame;
    frame.pixels.assign(static_cast<std::size_t>(kWindowWidth * kWindowHeight), 0);
    SDL_Surface* pixels = SDL_CreateRGBSurfaceWithFormatFrom(frame.pixels.data(), kWindowWidth, kWindowHeight, 32,
                                                             kWindowWidth * 4, SDL_PIXELFORMAT_RGB888);
    std::string why;
    EXPECT_TRUE(pixels != nullptr && readFramePixels(pixels, why)) << why << SDL_GetError();
    SDL_FreeSurface(pixels);
    for (std::uint32_t& p : frame.pixels) {
        p &= 0x00FFFFFFu;
    }
    return frame;
}

// Clears to (0, 0, 0, 0) as the main loop does, draws, presents and reads the frame back.
inline Frame renderFrame(const std::function<void()>& draw)
{
    SDL_SetRenderDrawColor(app.renderer, 0, 0, 0, 0);
    SDL_RenderClear(app.renderer);
    draw();
    SDL_RenderPresent(app.renderer);
    return readFrame();
}

// A test suite with the window open for all its tests.
class SceneTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { openSceneWindow(); }
    static void TearDownTestSuite() { closeSceneWindow(); }
};
