// A lesson with a class: the teacher's state, following it, and the answers' values and pictures.
#include "web/class_state.h"

#include "common/app_state.h"
#include "common/frame_pixels.h"

#include <cmath>
#include <cstdio>

std::string lessonStateJson(const PageState& page, std::uint32_t now)
{
    std::string link;
    bool held = false;
    double speed = 1.0;
    if (page.shows == kShowsLive && page.picture != nullptr) {
        link = frozenLink(page.picture->answer, lessonFrame(page.lesson, now, kFrameCentre));
        held = isHeld(page.lesson);
        speed = page.lesson.clock.speed;
    } else if (page.shows == kShowsFrozen && page.picture != nullptr) {
        link = frozenLink(page.picture->answer, page.drawn);
        held = true;
    }
    // A frozen link holds only [A-Za-z0-9=&,%._~-]: nothing to escape in JSON.
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "\"held\":%s,\"speed\":%.17g}", held ? "true" : "false", speed);
    return "{\"link\":\"" + link + "\"," + numbers;
}

bool followLesson(PageState& page, const FrameLink& link, bool held, double speed, double elapsedMs,
                  std::uint32_t now)
{
    if (page.shows != kShowsLive || page.picture == nullptr || link.answer.empty() ||
        &pictureFor(link.answer) != page.picture || !(speed > 0.0 && speed <= kMaxClockSpeed) ||
        !std::isfinite(elapsedMs)) {
        return false;
    }
    Lesson& lesson = page.lesson;
    const double ran = held || elapsedMs < 0.0 ? 0.0 : elapsedMs * speed;
    lesson.clock.start = std::fmin(static_cast<double>(link.inputs.ticks) + ran, static_cast<double>(kMaxTicks));
    lesson.clock.since = now;
    lesson.clock.speed = speed;
    lesson.clock.paused = held;
    if (lesson.steering == kSteeredByMouse) {
        placePointer(lesson, link.inputs.mouse);
    }
    return true;
}

std::string frameValues(const Picture& picture, const FrameInputs& inputs)
{
    std::string values;
    for (int i = 0; i < picture.parameterCount; ++i) {
        const Parameter& p = picture.parameters[i];
        std::string value = formatParameter(p, parameterValue(p, inputs));
        if (!value.empty() && value[0] == '-') {
            value = "\u2212" + value.substr(1);  // the minus sign of a text, not a field's hyphen
        }
        values += std::string(i == 0 ? "" : "; ") + p.label + " = " + value;
    }
    return values;
}

void reduceFrame(const std::uint8_t* rgb, int width, int height, int pitch, int scale, std::vector<std::uint8_t>& rgba)
{
    const int smallWidth = width / scale;
    const int smallHeight = height / scale;
    const int area = scale * scale;
    rgba.assign(static_cast<std::size_t>(smallWidth) * smallHeight * 4, 255);
    for (int y = 0; y < smallHeight; ++y) {
        for (int x = 0; x < smallWidth; ++x) {
            int sum[3] = {0, 0, 0};
            for (int dy = 0; dy < scale; ++dy) {
                const std::uint8_t* row = rgb + static_cast<std::size_t>(y * scale + dy) * pitch + x * scale * 3;
                for (int dx = 0; dx < scale * 3; dx += 3) {
                    sum[0] += row[dx];
                    sum[1] += row[dx + 1];
                    sum[2] += row[dx + 2];
                }
            }
            std::uint8_t* out = &rgba[(static_cast<std::size_t>(y) * smallWidth + x) * 4];
            for (int c = 0; c < 3; ++c) {
                out[c] = static_cast<std::uint8_t>((sum[c] + area / 2) / area);
            }
        }
    }
}

bool drawAnswer(PageState& page, const Picture& picture, const FrameInputs& inputs, std::vector<std::uint8_t>& rgba,
                std::string& why)
{
    if (!page.mediaReady) {
        why = "Nie ma okna obrazu, w którym można by narysować odpowiedź.";
        return false;
    }
    SDL_Surface* pixels = makeFramePixels(why);
    if (pixels == nullptr) {
        return false;
    }
    drawFrame(picture, inputs, page.frameMemory);
    const bool read = readFramePixels(pixels, why);
    if (read) {
        reduceFrame(static_cast<const std::uint8_t*>(pixels->pixels), pixels->w, pixels->h, pixels->pitch,
                    kAnswerScale, rgba);
    }
    SDL_FreeSurface(pixels);
    if (pictureShown(page)) {
        drawFrame(*page.picture, page.drawn, page.frameMemory);
    }
    return read;
}
