// The animated GIF of the exporter, written with giflib.
#include "exporter/gif_writer.h"

#include "common/files.h"

#include <gif_lib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::uint64_t kMaxDelay = 65535;  // a GIF delay is 16 bits of hundredths
constexpr std::size_t kMaxColours = 256;
constexpr int kColourResolution = 8;  // bits per primary colour
constexpr int kBytesPerPixel = 3;
constexpr std::uint64_t kMillisecondsPerDelay = 10;

std::uint32_t colourAt(const std::uint8_t* p)
{
    return (static_cast<std::uint32_t>(p[0]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) | p[2];
}

// Sets gif.error for a failed write: the system's reason for input and output, else giflib's.
bool writeFailed(GifSeries& gif, int code)
{
    const bool system = code == E_GIF_ERR_OPEN_FAILED || code == E_GIF_ERR_WRITE_FAILED ||
                        code == E_GIF_ERR_CLOSE_FAILED || code == E_GIF_ERR_DISK_IS_FULL;
    const char* reason = system && errno != 0 ? std::strerror(errno) : GifErrorString(code);
    gif.error = "cannot write " + gif.path + ": " + (reason != nullptr ? reason : "GIF error");
    return false;
}

// The colours of a frame in order of first appearance; false when there are more than a GIF
// frame holds.
bool collectPalette(const GifSeries& gif, const std::uint8_t* rgb, std::size_t pitch,
                    std::vector<std::uint32_t>& palette)
{
    palette.clear();
    bool seen = false;
    std::uint32_t last = 0;
    for (int y = 0; y < gif.height; ++y) {
        const std::uint8_t* row = rgb + static_cast<std::size_t>(y) * pitch;
        for (int x = 0; x < gif.width; ++x) {
            const std::uint32_t c = colourAt(row + x * kBytesPerPixel);
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
GifRect changedRect(const GifSeries& gif, const std::uint8_t* rgb, std::size_t pitch)
{
    const std::size_t rowBytes = static_cast<std::size_t>(gif.width) * kBytesPerPixel;
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
        while (std::memcmp(was + first * kBytesPerPixel, now + first * kBytesPerPixel, kBytesPerPixel) == 0) {
            ++first;
        }
        int last = gif.width - 1;
        while (std::memcmp(was + last * kBytesPerPixel, now + last * kBytesPerPixel, kBytesPerPixel) == 0) {
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
            const std::uint32_t c = colourAt(row + x * kBytesPerPixel);
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

bool putDelay(GifSeries& gif, std::uint64_t delay)
{
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;  // later frames draw over this one
    control.UserInputFlag = false;
    control.DelayTime = static_cast<int>(delay);
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType bytes[4];
    const std::size_t size = EGifGCBToExtension(&control, bytes);
    return EGifPutExtension(gif.file, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(size), bytes) == GIF_OK ||
           writeFailed(gif, gif.file->Error);
}

// A frame with its own colour map unless its colours are the global ones.
bool putImage(GifSeries& gif, const GifRect& r, const std::vector<std::uint32_t>& palette,
              std::vector<std::uint8_t>& indices)
{
    ColorMapObject* local = palette == gif.globalPalette ? nullptr : makeMap(palette);
    if (local == nullptr && palette != gif.globalPalette) {
        return writeFailed(gif, E_GIF_ERR_NOT_ENOUGH_MEM);
    }
    bool ok = EGifPutImageDesc(gif.file, r.left, r.top, r.width, r.height, false, local) == GIF_OK;
    GifFreeMapObject(local);  // giflib keeps its own copy
    for (int y = 0; ok && y < r.height; ++y) {
        ok = EGifPutLine(gif.file, indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(r.width),
                         r.width) == GIF_OK;
    }
    return ok || writeFailed(gif, gif.file->Error);
}

// The pending frame with its delay. A delay longer than one GIF frame holds goes on in 1 x 1
// frames that repeat the top-left pixel and so change nothing.
bool writePending(GifSeries& gif)
{
    std::uint64_t left = gif.pendingDelay;
    std::uint64_t part = std::min(left, kMaxDelay);
    if (!putDelay(gif, part) || !putImage(gif, gif.pendingRect, gif.pendingPalette, gif.pendingIndices)) {
        return false;
    }
    const std::vector<std::uint32_t> corner = {colourAt(gif.shown.data())};
    std::vector<std::uint8_t> cornerIndex = {0};
    for (left -= part; left > 0; left -= part) {
        part = std::min(left, kMaxDelay);
        if (!putDelay(gif, part) || !putImage(gif, GifRect{0, 0, 1, 1}, corner, cornerIndex)) {
            return false;
        }
    }
    return true;
}

// The screen with the first frame's colours as its global map, and the loop for ever.
bool putScreen(GifSeries& gif)
{
    ColorMapObject* global = makeMap(gif.globalPalette);
    if (global == nullptr) {
        return writeFailed(gif, E_GIF_ERR_NOT_ENOUGH_MEM);
    }
    const bool screen = EGifPutScreenDesc(gif.file, gif.width, gif.height, kColourResolution, 0, global) == GIF_OK;
    GifFreeMapObject(global);  // giflib keeps its own copy
    static const char kApplication[] = "NETSCAPE2.0";
    const GifByteType loopForever[3] = {1, 0, 0};  // sub-block 1, then the loop count 0: for ever
    const bool loop = screen && EGifPutExtensionLeader(gif.file, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
                      EGifPutExtensionBlock(gif.file, sizeof kApplication - 1, kApplication) == GIF_OK &&
                      EGifPutExtensionBlock(gif.file, sizeof loopForever, loopForever) == GIF_OK &&
                      EGifPutExtensionTrailer(gif.file) == GIF_OK;
    return loop || writeFailed(gif, gif.file->Error);
}

}  // namespace

std::uint64_t gifDelay(std::uint64_t ms)
{
    if (ms == 0) {
        return 0;
    }
    return std::max<std::uint64_t>(1, (ms + kMillisecondsPerDelay / 2) / kMillisecondsPerDelay);
}

bool gifBegin(GifSeries& gif, const std::string& path, int width, int height)
{
    gif = GifSeries{};
    gif.path = path;
    gif.partial = path + ".partial";
    gif.width = width;
    gif.height = height;
    // Opened here rather than by giflib, which would make the file readable by its owner only.
    const int fd = openForWriting(gif.partial);
    if (fd < 0) {
        return writeFailed(gif, E_GIF_ERR_OPEN_FAILED);
    }
    int code = 0;
    gif.file = EGifOpenFileHandle(fd, &code);
    if (gif.file == nullptr) {
        close(fd);
        removeFile(gif.partial);
        return writeFailed(gif, code);
    }
    EGifSetGifVersion(gif.file, true);  // GIF89a: delays and the loop
    return true;
}

bool gifAddFrame(GifSeries& gif, const std::uint8_t* rgb, std::size_t pitch, std::uint64_t delay)
{
    errno = 0;
    ++gif.framesAdded;
    const bool first = gif.shown.empty();
    const GifRect rect = first ? GifRect{0, 0, gif.width, gif.height} : changedRect(gif, rgb, pitch);
    if (rect.width == 0) {
        gif.pendingDelay += delay;
        return true;
    }
    std::vector<std::uint32_t> palette;
    if (!collectPalette(gif, rgb, pitch, palette)) {
        gif.error = "cannot write " + gif.path + ": frame " + std::to_string(gif.framesAdded) +
                    " has more than 256 colours, and a GIF frame holds at most 256 (PNG has no such limit)";
        return false;
    }
    if (first) {
        gif.globalPalette = palette;
        if (!putScreen(gif)) {
            return false;
        }
    } else if (!writePending(gif)) {
        return false;
    }
    gif.pendingRect = rect;
    gif.pendingIndices = indicesIn(rect, palette, rgb, pitch);
    gif.pendingPalette = std::move(palette);
    gif.pendingDelay = delay;
    const std::size_t rowBytes = static_cast<std::size_t>(gif.width) * kBytesPerPixel;
    gif.shown.resize(rowBytes * static_cast<std::size_t>(gif.height));
    for (int y = 0; y < gif.height; ++y) {
        std::memcpy(gif.shown.data() + static_cast<std::size_t>(y) * rowBytes,
                    rgb + static_cast<std::size_t>(y) * pitch, rowBytes);
    }
    return true;
}

bool gifFinish(GifSeries& gif)
{
    errno = 0;
    bool ok = gif.file != nullptr && gif.framesAdded > 0;
    if (!ok) {
        gif.error = "cannot write " + gif.path + ": no frames";
    }
    ok = ok && writePending(gif);
    int code = E_GIF_SUCCEEDED;
    const bool closed = gif.file != nullptr && EGifCloseFile(gif.file, &code) == GIF_OK;
    gif.file = nullptr;
    if (ok && !closed) {
        ok = writeFailed(gif, code);
    }
    if (ok && !replaceFile(gif.partial, gif.path)) {
        gif.error = "cannot write " + gif.path + ": " + std::strerror(errno);
        ok = false;
    }
    if (!ok) {
        removeFile(gif.partial);
    }
    return ok;
}

void gifAbandon(GifSeries& gif)
{
    if (gif.file != nullptr) {
        EGifCloseFile(gif.file, nullptr);
        gif.file = nullptr;
        removeFile(gif.partial);
    }
}
