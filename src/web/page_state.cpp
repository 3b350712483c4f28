// The page's redraw decisions and the constants its script reads.
#include "web/page_state.h"

#include "common/app_state.h"
#include "menu/frame_link.h"

#include <cmath>
#include <cstdio>
#include <string>

bool frameMustBeDrawn(const PageState& page, const FrameInputs& now)
{
    if (!page.frameOnCanvas) {
        return true;
    }
    switch (page.lesson.steering) {
    case kSteeredByClock:
        return now.ticks != page.drawn.ticks;
    case kSteeredByMouse:
        return now.mouse.x != page.drawn.mouse.x || now.mouse.y != page.drawn.mouse.y;
    case kSteeredByNothing:
        break;
    }
    return false;
}

bool mayRest(const PageState& page)
{
    return page.frameOnCanvas && (page.lesson.steering != kSteeredByClock || isHeld(page.lesson));
}

namespace {

// "1, 2, 5 albo 10": the values a sentence offers.
template <std::size_t N>
std::string offered(const int (&values)[N])
{
    std::string text;
    for (std::size_t i = 0; i < N; ++i) {
        text += (i == 0 ? "" : i + 1 == N ? " albo " : ", ") + std::to_string(values[i]);
    }
    return text;
}

template <std::size_t N>
bool isOffered(const int (&values)[N], int value)
{
    for (const int v : values) {
        if (v == value) {
            return true;
        }
    }
    return false;
}

// The encoder's sink: the bytes onto the end of the GIF in memory.
bool keepGifBytes(void* context, const std::uint8_t* bytes, std::size_t size)
{
    auto& kept = *static_cast<std::vector<std::uint8_t>*>(context);
    kept.insert(kept.end(), bytes, bytes + size);
    return true;
}

constexpr int kBytesPerPixel = 3;
constexpr double kMillisecondsPerSecond = 1000.0;

}  // namespace

std::string beginRecording(Recording& recording, const Picture& picture, std::uint32_t start, int seconds, int fps,
                           double speed)
{
    endRecording(recording);
    if (picture.steering != kSteeredByClock) {
        return "GIF można nagrać tylko z obrazu, który porusza zegar.";
    }
    if (!isOffered(kGifSeconds, seconds)) {
        return "GIF trwa " + offered(kGifSeconds) + " s.";
    }
    if (!isOffered(kGifRates, fps)) {
        return "GIF ma " + offered(kGifRates) + " klatek na sekundę.";
    }
    const double step = kMillisecondsPerSecond / fps * speed;
    if (!(step >= 1.0) || step != std::floor(step)) {
        return "W tym tempie klatki GIF-a nie wypadają co pełną milisekundę.";
    }
    const int frames = seconds * fps;
    if (start + static_cast<std::uint64_t>(frames - 1) * static_cast<std::uint64_t>(step) > kMaxTicks) {
        return "Zegar obrazu minąłby 4294967295 ms przed końcem nagrania.";
    }
    recording.start = start;
    recording.step = static_cast<std::uint32_t>(step);
    recording.delay = gifDelay(static_cast<std::uint64_t>(kMillisecondsPerSecond) / static_cast<std::uint64_t>(fps));
    recording.frames = frames;
    recording.done = 0;
    recording.fileName = gifFileName(picture, start, seconds, fps);
    recording.rgb.assign(static_cast<std::size_t>(kWindowWidth) * kWindowHeight * kBytesPerPixel, 0);
    if (gifBegin(recording.gif, keepGifBytes, &recording.bytes, kWindowWidth, kWindowHeight) != kGifOk) {
        endRecording(recording);
        return "Zabrakło pamięci na GIF.";
    }
    recording.active = true;
    return "";
}

std::string recordFrame(Recording& recording, const Picture& picture, SDL_Surface* frameMemory)
{
    if (!recording.active || recording.done >= recording.frames) {
        return "Nic się nie nagrywa.";
    }
    const std::uint32_t ticks = recording.start + static_cast<std::uint32_t>(recording.done) * recording.step;
    drawFrame(picture, FrameInputs{ticks, SDL_Point{0, 0}}, frameMemory);
    const int pitch = kWindowWidth * kBytesPerPixel;
    std::string failed;
    if (SDL_RenderReadPixels(app.renderer, nullptr, SDL_PIXELFORMAT_RGB24, recording.rgb.data(), pitch) != 0) {
        failed = std::string("Nie udało się odczytać klatki: ") + SDL_GetError();
    } else {
        GifError error = gifAddFrame(recording.gif, recording.rgb.data(), static_cast<std::size_t>(pitch),
                                     recording.delay);
        if (error == kGifOk && ++recording.done == recording.frames) {
            error = gifFinish(recording.gif);
        }
        if (error == kGifTooManyColours) {
            failed = "Klatka " + std::to_string(recording.gif.frames) +
                     " ma więcej niż 256 kolorów, a klatka GIF-a mieści najwyżej 256.";
        } else if (error != kGifOk) {
            failed = "Zabrakło pamięci na GIF.";
        }
    }
    if (!failed.empty()) {
        endRecording(recording);
    }
    return failed;
}

void endRecording(Recording& recording)
{
    gifAbandon(recording.gif);
    recording = Recording{};
}

std::string pageConstants()
{
    const auto pair = [](const char* name, long long value) {
        return std::string("\"") + name + "\":" + std::to_string(value);
    };
    // A number as JSON, with every digit the double needs to come back as itself.
    const auto number = [](double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", value);
        return std::string(text);
    };
    const auto list = [&number](const auto& values) {
        std::string text;
        for (const auto v : values) {
            text += (text.empty() ? "[" : ",") + number(v);
        }
        return text + "]";
    };
    std::string keys;
    const char* const kKeyNames[kLessonKeyCount] = {"hold", "left", "right", "up", "down", "slower", "faster"};
    for (int k = 0; k < kLessonKeyCount; ++k) {
        keys += (k == 0 ? "" : ",") + pair(kKeyNames[k], k);
    }
    return "{\"shows\":{" + pair("refused", kShowsRefused) + "," + pair("menu", kShowsMenu) + "," +
           pair("live", kShowsLive) + "," + pair("frozen", kShowsFrozen) + "}," +
           "\"steering\":{" + pair("nothing", kSteeredByNothing) + "," + pair("clock", kSteeredByClock) + "," +
           pair("mouse", kSteeredByMouse) + "}," +
           "\"frame\":{" + pair("width", kWindowWidth) + "," + pair("height", kWindowHeight) + "}," +
           "\"keys\":{" + keys + "}," +
           "\"speeds\":" + list(kLessonSpeeds) + "," +
           "\"gif\":{\"seconds\":" + list(kGifSeconds) + ",\"rates\":" + list(kGifRates) + "}}";
}
