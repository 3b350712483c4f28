// The animated GIF, made with giflib into the caller's sink.
#include "common/gif_encoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint64_t kMaxDelay = 65535;  // a GIF delay is 16 bits of hundredths
constexpr std::size_t kMaxColours = 256;
constexpr int kColourResolution = 8;  // bits per primary colour
constexpr std::uint64_t kMillisecondsPerDelay = 10;

std::uint32_t colourAt(const std::uint8_t* p)
{
    return (static_cast<std::uint32_t>(p[0]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) | p[2];
}

// giflib's way out: every byte goes to the sink until it refuses one.
int writeToSink(GifFileType* file, const GifByteType* bytes, int size)
{
    GifEncoder& gif = *static_cast<GifEncoder*>(file->UserData);
    if (gif.write == nullptr) {
        return 0;  // abandoned: the end of the GIF that closing writes goes nowhere
    }
    if (gif.refused || !gif.write(gif.context, bytes, static_cast<std::size_t>(size))) {
        gif.refused = true;
        return 0;
    }
    return size;
}

// Keeps why a call failed; false.
bool failed(GifEncoder& gif, GifError error)
{
    gif.error = error;
    return false;
}

// The error of a failed giflib call. A refused write is the sink's; giflib's only other failure,
// for this encoder's calls, is an allocation. (giflib does not report every failed write, the
// last byte's for one, so the sink's refusal is remembered apart.)
GifError giflibFailed(const GifEncoder& gif, int code)
{
    return code == E_GIF_ERR_NOT_ENOUGH_MEM && !gif.refused ? kGifOutOfMemory : kGifWriteFailed;
}

// The colours of a frame in order of first appearance; false when there are more than a GIF
// frame holds.
bool collectPalette(const GifEncoder& gif, const std::uint8_t* rgb, std::size_t pitch,
                    std::vector<std::uint32_t>& palette)
{
    palette.clear();
    bool seen = false;
    std::uint32_t last = 0;
    for (int y = 0; y < gif.height; ++y) {
        const std::uint8_t* row = rgb + static_cast<std::size_t>(y) * pitch;
        for (int x = 0; x < gif.width; ++x) {
            const std::uint32_t c = colourAt(row + x * kGifBytesPerPixel);
            if (seen && c == last) {
                continue;
            }
            seen = true;
            last = c;
            if (std::find(palette.begin(), palette.end(), c) == palette.end()) {
                if (palette.size() == kMaxColours) {
                    return false;
                }
                palette.push_back(c);
            }
        }
    }
    return true;
}

// The smallest rectangle holding every pixel where the frame differs from what is shown;
// width 0 when nothing does.
GifRect changedRect(const GifEncoder& gif, const std::uint8_t* rgb, std::size_t pitch)
{
    const std::size_t rowBytes = static_cast<std::size_t>(gif.width) * kGifBytesPerPixel;
    int top = -1, bottom = -1, left = gif.width, right = -1;
    for (int y = 0; y < gif.height; ++y) {
        const std::uint8_t* was = gif.shown.data() + static_cast<std::size_t>(y) * rowBytes;
        const std::uint8_t* now = rgb + static_cast<std::size_t>(y) * pitch;
        if (std::memcmp(was, now, rowBytes) == 0) {
            continue;
        }
        top = top < 0 ? y : top;
        bottom = y;
        int first = 0;
        while (std::memcmp(was + first * kGifBytesPerPixel, now + first * kGifBytesPerPixel, kGifBytesPerPixel) == 0) {
            ++first;
        }
        int last = gif.width - 1;
        while (std::memcmp(was + last * kGifBytesPerPixel, now + last * kGifBytesPerPixel, kGifBytesPerPixel) == 0) {
            --last;
        }
        left = std::min(left, first);
        right = std::max(right, last);
    }
    return top < 0 ? GifRect{} : GifRect{left, top, right - left + 1, bottom - top + 1};
}

// The palette index of every pixel of the rectangle, row by row.
std::vector<std::uint8_t> indicesIn(const GifRect& r, const std::vector<std::uint32_t>& palette,
                                    const std::uint8_t* rgb, std::size_t pitch)
{
    std::vector<std::uint8_t> indices;
    indices.reserve(static_cast<std::size_t>(r.width) * static_cast<std::size_t>(r.height));
    std::size_t index = 0;
    for (int y = r.top; y < r.top + r.height; ++y) {
        const std::uint8_t* row = rgb + static_cast<std::size_t>(y) * pitch;
        for (int x = r.left; x < r.left + r.width; ++x) {
            const std::uint32_t c = colourAt(row + x * kGifBytesPerPixel);
            if (palette[index] != c) {
                index = static_cast<std::size_t>(std::find(palette.begin(), palette.end(), c) - palette.begin());
            }
            indices.push_back(static_cast<std::uint8_t>(index));
        }
    }
    return indices;
}

// A giflib colour map of the palette, padded with black to a power of two (null when out of memory).
ColorMapObject* makeMap(const std::vector<std::uint32_t>& palette)
{
    std::vector<GifColorType> colours(std::size_t{1} << GifBitSize(static_cast<int>(palette.size())),
                                      GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < palette.size(); ++i) {
        colours[i] = {static_cast<GifByteType>(palette[i] >> 16), static_cast<GifByteType>(palette[i] >> 8),
                      static_cast<GifByteType>(palette[i])};
    }
    return GifMakeMapObject(static_cast<int>(colours.size()), colours.data());
}

GifError putDelay(GifEncoder& gif, std::uint64_t delay)
{
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;  // later frames draw over this one
    control.UserInputFlag = false;
    control.DelayTime = static_cast<int>(delay);
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType bytes[4];
    const std::size_t size = EGifGCBToExtension(&control, bytes);
    return EGifPutExtension(gif.file, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(size), bytes) == GIF_OK
               ? kGifOk
               : giflibFailed(gif, gif.file->Error);
}

// A frame with its own colour map unless its colours are the global ones.
GifError putImage(GifEncoder& gif, const GifRect& r, const std::vector<std::uint32_t>& palette,
                  std::vector<std::uint8_t>& indices)
{
    ColorMapObject* local = palette == gif.globalPalette ? nullptr : makeMap(palette);
    if (local == nullptr && palette != gif.globalPalette) {
        return kGifOutOfMemory;
    }
    // giflib forgets, without freeing it, the copy of the last frame's own colour map when a frame
    // comes without one: it is freed here first.
    if (local == nullptr && gif.file->Image.ColorMap != nullptr) {
        GifFreeMapObject(gif.file->Image.ColorMap);
        gif.file->Image.ColorMap = nullptr;
    }
    bool ok = EGifPutImageDesc(gif.file, r.left, r.top, r.width, r.height, false, local) == GIF_OK;
    GifFreeMapObject(local);  // giflib keeps its own copy
    for (int y = 0; ok && y < r.height; ++y) {
        ok = EGifPutLine(gif.file, indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(r.width),
                         r.width) == GIF_OK;
    }
    return ok ? kGifOk : giflibFailed(gif, gif.file->Error);
}

// The pending frame with its delay. A delay longer than one GIF frame holds goes on in 1 x 1
// frames that repeat the top-left pixel and so change nothing.
GifError writePending(GifEncoder& gif)
{
    std::uint64_t left = gif.pendingDelay;
    std::uint64_t part = std::min(left, kMaxDelay);
    GifError error = putDelay(gif, part);
    error = error != kGifOk ? error : putImage(gif, gif.pendingRect, gif.pendingPalette, gif.pendingIndices);
    const std::vector<std::uint32_t> corner = {colourAt(gif.shown.data())};
    std::vector<std::uint8_t> cornerIndex = {0};
    for (left -= part; error == kGifOk && left > 0; left -= part) {
        part = std::min(left, kMaxDelay);
        error = putDelay(gif, part);
        error = error != kGifOk ? error : putImage(gif, GifRect{0, 0, 1, 1}, corner, cornerIndex);
    }
    return error;
}

// The screen with the first frame's colours as its global map, and the loop for ever.
GifError putScreen(GifEncoder& gif)
{
    ColorMapObject* global = makeMap(gif.globalPalette);
    if (global == nullptr) {
        return kGifOutOfMemory;
    }
    const bool screen = EGifPutScreenDesc(gif.file, gif.width, gif.height, kColourResolution, 0, global) == GIF_OK;
    GifFreeMapObject(global);  // giflib keeps its own copy
    static const char kApplication[] = "NETSCAPE2.0";
    const GifByteType loopForever[3] = {1, 0, 0};  // sub-block 1, then the loop count 0: for ever
    const bool loop = screen && EGifPutExtensionLeader(gif.file, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
                      EGifPutExtensionBlock(gif.file, sizeof kApplication - 1, kApplication) == GIF_OK &&
                      EGifPutExtensionBlock(gif.file, sizeof loopForever, loopForever) == GIF_OK &&
                      EGifPutExtensionTrailer(gif.file) == GIF_OK;
    return loop ? kGifOk : giflibFailed(gif, gif.file->Error);
}

}  // namespace

std::uint64_t gifDelay(std::uint64_t ms)
{
    if (ms == 0) {
        return 0;
    }
    return std::max<std::uint64_t>(1, (ms + kMillisecondsPerDelay / 2) / kMillisecondsPerDelay);
}

bool gifBegin(GifEncoder& gif, GifWrite write, void* context, int width, int height)
{
    gif = GifEncoder{};
    gif.write = write;
    gif.context = context;
    gif.width = width;
    gif.height = height;
    int code = E_GIF_SUCCEEDED;
    gif.file = EGifOpen(&gif, writeToSink, &code);
    if (gif.file == nullptr) {
        return failed(gif, giflibFailed(gif, code));
    }
    EGifSetGifVersion(gif.file, true);  // GIF89a: delays and the loop
    return true;
}

bool gifAddFrame(GifEncoder& gif, const std::uint8_t* rgb, std::size_t pitch, std::uint64_t delay)
{
    ++gif.frames;
    const bool first = gif.shown.empty();
    const GifRect rect = first ? GifRect{0, 0, gif.width, gif.height} : changedRect(gif, rgb, pitch);
    if (rect.width == 0) {
        gif.pendingDelay += delay;
        return true;
    }
    std::vector<std::uint32_t> palette;
    if (!collectPalette(gif, rgb, pitch, palette)) {
        return failed(gif, kGifTooManyColours);
    }
    if (first) {
        gif.globalPalette = palette;
    }
    const GifError error = first ? putScreen(gif) : writePending(gif);
    if (error != kGifOk) {
        return failed(gif, error);
    }
    gif.pendingRect = rect;
    gif.pendingIndices = indicesIn(rect, palette, rgb, pitch);
    gif.pendingPalette = std::move(palette);
    gif.pendingDelay = delay;
    const std::size_t rowBytes = static_cast<std::size_t>(gif.width) * kGifBytesPerPixel;
    gif.shown.resize(rowBytes * static_cast<std::size_t>(gif.height));
    for (int y = 0; y < gif.height; ++y) {
        std::memcpy(gif.shown.data() + static_cast<std::size_t>(y) * rowBytes,
                    rgb + static_cast<std::size_t>(y) * pitch, rowBytes);
    }
    return true;
}

bool gifFinish(GifEncoder& gif)
{
    const GifError error = gif.file == nullptr || gif.shown.empty() ? kGifNoFrames : writePending(gif);
    if (error != kGifOk) {
        gifAbandon(gif);
        return failed(gif, error);
    }
    int code = E_GIF_SUCCEEDED;
    const bool closed = EGifCloseFile(gif.file, &code) == GIF_OK;  // writes the end and frees
    gif.file = nullptr;
    gif.write = nullptr;
    if (!closed || gif.refused) {
        return failed(gif, !closed ? giflibFailed(gif, code) : kGifWriteFailed);
    }
    return true;
}

void gifAbandon(GifEncoder& gif)
{
    gif.write = nullptr;
    if (gif.file != nullptr) {
        EGifCloseFile(gif.file, nullptr);
        gif.file = nullptr;
    }
}

std::string gifErrorWords(const GifEncoder& gif, Language language, const std::string& sinkWhy)
{
    const bool polish = language == kPolish;
    switch (gif.error) {
    case kGifTooManyColours:
        return polish ? "Klatka " + std::to_string(gif.frames) +
                            " ma więcej niż 256 kolorów, a\u00a0klatka GIF-a mieści najwyżej 256."
                      : "frame " + std::to_string(gif.frames) +
                            " has more than 256 colours, and a GIF frame holds at most 256 (PNG has no such limit)";
    case kGifWriteFailed:
        return sinkWhy.empty() ? (polish ? "Nie udało się zapisać GIF-a." : "the GIF could not be written") : sinkWhy;
    case kGifNoFrames:
        return polish ? "GIF nie ma ani jednej klatki." : "no frames";
    case kGifOutOfMemory:
    case kGifOk:
        break;
    }
    return polish ? "Zabrakło pamięci na GIF." : "out of memory";
}
