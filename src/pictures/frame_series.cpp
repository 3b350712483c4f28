// Frames of a series drawn, read back and added to a GIF.
#include "pictures/frame_series.h"

#include "common/frame_pixels.h"

FrameInputs seriesFrame(const FrameSeries& series, long k)
{
    const std::uint64_t ticks = series.first.ticks + static_cast<std::uint64_t>(k) * series.step;
    return FrameInputs{static_cast<std::uint32_t>(ticks), series.first.mouse};
}

bool drawSeriesFrame(const FrameSeries& series, long k, SDL_Surface* frameMemory, SDL_Surface* pixels,
                     std::string& why)
{
    drawFrame(*series.picture, seriesFrame(series, k), frameMemory);
    return readFramePixels(pixels, why);
}

bool addSeriesFrameToGif(const FrameSeries& series, long k, SDL_Surface* frameMemory, SDL_Surface* pixels,
                         GifEncoder& gif, std::uint64_t delay, Language language, std::string& why)
{
    if (!drawSeriesFrame(series, k, frameMemory, pixels, why)) {
        why = (language == kPolish ? "Nie udało się odczytać klatki: " : "reading the frame: ") + why;
        return false;
    }
    if (!gifAddFrame(gif, static_cast<const std::uint8_t*>(pixels->pixels), static_cast<std::size_t>(pixels->pitch),
                     delay)) {
        why = gifErrorWords(gif, language);
        return false;
    }
    return true;
}
