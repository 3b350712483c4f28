// The page's decisions: when to draw and rest, the constants its script reads, its parameters,
// and its GIF recording.
#include "web/page_state.h"

#include "common/app_state.h"
#include "common/frame_pixels.h"
#include "pictures/frame_link.h"
#include "common/polish_number.h"

#include <cmath>
#include <cstdio>
#include <string>

bool pictureOpen(const PageState& page)
{
    return (page.shows == kShowsLive || page.shows == kShowsFrozen) && page.picture != nullptr;
}

bool pictureShown(const PageState& page)
{
    return pictureOpen(page) && page.frameOnCanvas;
}

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

bool wakePage(PageState& page)
{
    if (!page.resting || page.shows != kShowsLive) {
        return false;
    }
    page.resting = false;
    return true;
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

constexpr double kMillisecondsPerSecond = 1000.0;

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        out += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
    }
    return out + "\"";
}

// Puts typed inputs into the live picture, held: its clock or its pointer, whichever the value
// moved.
void holdAt(PageState& page, const Parameter& parameter, const FrameInputs& inputs, std::uint32_t now)
{
    if (parameter.input == kFromClock) {
        holdClockAt(page.lesson, inputs.ticks, now);
    } else {
        holdLesson(page.lesson, true, now);
        placePointer(page.lesson, inputs.mouse);
    }
}

}  // namespace

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

const Parameter* liveParameter(const PageState& page, int i)
{
    const bool live = page.shows == kShowsLive && page.picture != nullptr;
    return live && i >= 0 && i < page.picture->parameterCount ? &page.picture->parameters[i] : nullptr;
}

std::string parametersJson(const PageState& page)
{
    std::string json = "[";
    for (int i = 0; liveParameter(page, i) != nullptr; ++i) {
        const Parameter& p = *liveParameter(page, i);
        json += std::string(i == 0 ? "" : ",") + "{\"id\":" + quoted(p.id) + ",\"label\":" + quoted(p.label) +
                ",\"value\":" + quoted(formatParameter(p, parameterValue(p, page.drawn))) + "}";
    }
    return json + "]";
}

bool typeParameter(PageState& page, int i, const std::string& text, std::uint32_t now, std::string& why)
{
    const Parameter* parameter = liveParameter(page, i);
    if (parameter == nullptr) {
        why = "Ten obraz nie ma takiego parametru.";
        return false;
    }
    FrameInputs inputs = lessonFrame(page.lesson, now, kFrameCentre);
    if (!setParameter(*parameter, text, inputs, why)) {
        return false;
    }
    holdAt(page, *parameter, inputs, now);
    return true;
}

bool stepLiveParameter(PageState& page, int i, int direction, std::uint32_t now)
{
    const Parameter* parameter = liveParameter(page, i);
    if (parameter == nullptr) {
        return false;
    }
    FrameInputs inputs = lessonFrame(page.lesson, now, kFrameCentre);
    stepParameter(*parameter, direction < 0 ? -1 : 1, inputs);
    holdAt(page, *parameter, inputs, now);
    return true;
}

std::string canvasFileName(const PageState& page)
{
    return pictureShown(page) ? frameFileName(*page.picture, page.drawn) : "";
}

bool beginRecording(Recording& recording, const Picture& picture, std::uint32_t start, int seconds, int fps,
                    double speed, std::string& why)
{
    endRecording(recording);
    if (picture.steering != kSteeredByClock) {
        why = "GIF można nagrać tylko z\u00a0obrazu, który porusza zegar.";
        return false;
    }
    if (!isOffered(kGifSeconds, seconds)) {
        why = "GIF trwa " + offered(kGifSeconds) + "\u00a0s.";
        return false;
    }
    if (!isOffered(kGifRates, fps)) {
        why = "GIF ma " + offered(kGifRates) + " klatek na sekundę.";
        return false;
    }
    const double step = kMillisecondsPerSecond / fps * speed;
    if (!(step >= 1.0) || step != std::floor(step)) {
        why = "W\u00a0tym tempie klatki GIF-a nie wypadają co pełną milisekundę.";
        return false;
    }
    const int frames = seconds * fps;
    if (start + static_cast<std::uint64_t>(frames - 1) * static_cast<std::uint64_t>(step) > kMaxTicks) {
        why = "Zegar obrazu minąłby " + polishNumber(static_cast<std::int64_t>(kMaxTicks)) +
              "\u00a0ms przed końcem nagrania.";
        return false;
    }
    recording.series = FrameSeries{&picture, FrameInputs{start, SDL_Point{0, 0}}, static_cast<std::uint64_t>(step)};
    recording.delay = gifDelay(static_cast<std::uint64_t>(kMillisecondsPerSecond) / static_cast<std::uint64_t>(fps));
    recording.frames = frames;
    recording.done = 0;
    recording.fileName = gifFileName(picture, start, seconds, fps);
    recording.pixels = makeFramePixels(why);
    if (recording.pixels == nullptr || !gifBegin(recording.gif, keepGifBytes, &recording.bytes, kWindowWidth,
                                                 kWindowHeight)) {
        endRecording(recording);
        why = "Zabrakło pamięci na GIF.";
        return false;
    }
    recording.active = true;
    return true;
}

bool beginPageRecording(PageState& page, int seconds, int fps, std::string& why)
{
    endPageRecording(page);
    if (!pictureShown(page)) {
        why = "Nie ma obrazu do nagrania.";
        return false;
    }
    const double speed = page.shows == kShowsLive ? page.lesson.clock.speed : 1.0;
    return beginRecording(page.recording, *page.picture, page.drawn.ticks, seconds, fps, speed, why);
}

bool recordFrame(Recording& recording, SDL_Surface* frameMemory, std::string& why)
{
    if (!recording.active || recording.done >= recording.frames) {
        why = "Nic się nie nagrywa.";
        return false;
    }
    if (!addSeriesFrameToGif(recording.series, recording.done, frameMemory, recording.pixels, recording.gif,
                             recording.delay, kPolish, why)) {
        return false;
    }
    if (++recording.done == recording.frames && !gifFinish(recording.gif)) {
        why = gifErrorWords(recording.gif, kPolish);
        return false;
    }
    return true;
}

bool recordPageFrame(PageState& page, std::string& why)
{
    if (recordFrame(page.recording, page.frameMemory, why)) {
        return true;
    }
    endPageRecording(page);
    return false;
}

void endRecording(Recording& recording)
{
    gifAbandon(recording.gif);
    if (recording.pixels != nullptr) {
        SDL_FreeSurface(recording.pixels);
    }
    recording = Recording{};
}

void endPageRecording(PageState& page)
{
    if (!page.recording.active) {
        return;
    }
    endRecording(page.recording);
    if (pictureShown(page)) {
        drawFrame(*page.picture, page.drawn, page.frameMemory);
    }
}
