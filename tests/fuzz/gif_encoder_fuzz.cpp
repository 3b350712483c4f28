// Random small animations through the GIF encoder into memory, decoded again with giflib: the
// pictures a viewer shows, one after another, and how long each stands, are the frames given
// (equal neighbours as one, their delays added), exactly; a frame of more than 256 colours is
// refused by number.
#include "common/gif_encoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

namespace {

using Picture = std::vector<std::uint8_t>;  // RGB, rows without padding

struct Shown {
    Picture picture;
    std::uint64_t delay;
};

bool toMemory(void* context, const std::uint8_t* bytes, std::size_t size)
{
    auto& out = *static_cast<std::vector<std::uint8_t>*>(context);
    out.insert(out.end(), bytes, bytes + size);
    return true;
}

struct Reader {
    const std::vector<std::uint8_t>* bytes;
    std::size_t at;
};

int fromMemory(GifFileType* file, GifByteType* into, int size)
{
    auto& r = *static_cast<Reader*>(file->UserData);
    const std::size_t n = std::min(static_cast<std::size_t>(size), r.bytes->size() - r.at);
    std::memcpy(into, r.bytes->data() + r.at, n);
    r.at += n;
    return static_cast<int>(n);
}

// Equal neighbours become one picture shown for their delays together.
void append(std::vector<Shown>& shown, const Picture& picture, std::uint64_t delay)
{
    if (!shown.empty() && shown.back().picture == picture) {
        shown.back().delay += delay;
    } else {
        shown.push_back({picture, delay});
    }
}

// What a viewer shows: each image drawn over the ones before (no disposal, no transparency).
std::vector<Shown> decode(const std::vector<std::uint8_t>& bytes, int width, int height)
{
    Reader reader{&bytes, 0};
    int error = 0;
    GifFileType* file = DGifOpen(&reader, fromMemory, &error);
    if (file == nullptr || DGifSlurp(file) != GIF_OK || file->SWidth != width || file->SHeight != height) {
        std::abort();
    }
    std::vector<Shown> shown;
    Picture canvas(static_cast<std::size_t>(width * height * 3), 0);
    for (int i = 0; i < file->ImageCount; ++i) {
        const SavedImage& image = file->SavedImages[i];
        const GifImageDesc& d = image.ImageDesc;
        const ColorMapObject* map = d.ColorMap != nullptr ? d.ColorMap : file->SColorMap;
        GraphicsControlBlock control{};
        if (map == nullptr || DGifSavedExtensionToGCB(file, i, &control) != GIF_OK || d.Left < 0 || d.Top < 0 ||
            d.Left + d.Width > width || d.Top + d.Height > height || control.TransparentColor != NO_TRANSPARENT_COLOR) {
            std::abort();
        }
        for (int y = 0; y < d.Height; ++y) {
            for (int x = 0; x < d.Width; ++x) {
                const int index = image.RasterBits[y * d.Width + x];
                if (index >= map->ColorCount) {
                    std::abort();
                }
                std::uint8_t* p = &canvas[static_cast<std::size_t>(((d.Top + y) * width + d.Left + x) * 3)];
                p[0] = map->Colors[index].Red;
                p[1] = map->Colors[index].Green;
                p[2] = map->Colors[index].Blue;
            }
        }
        append(shown, canvas, static_cast<std::uint64_t>(control.DelayTime));
    }
    DGifCloseFile(file, &error);
    return shown;
}

std::size_t coloursIn(const Picture& p)
{
    std::set<std::uint32_t> colours;
    for (std::size_t i = 0; i + 2 < p.size(); i += 3) {
        colours.insert((static_cast<std::uint32_t>(p[i]) << 16) | (p[i + 1] << 8) | p[i + 2]);
    }
    return colours.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Width and height 1 to 20, then frames: a 3-byte delay, a mode, and pixels drawn from the
    // input (a few colours or many, or the frame before with one pixel changed).
    if (size < 2) {
        return 0;
    }
    const int width = data[0] % 20 + 1;
    const int height = data[1] % 20 + 1;
    const std::size_t pixels = static_cast<std::size_t>(width * height);
    std::size_t at = 2;
    GifEncoder gif;
    std::vector<std::uint8_t> bytes;
    if (!gifBegin(gif, toMemory, &bytes, width, height)) {
        std::abort();
    }
    std::vector<Shown> given;
    Picture last(pixels * 3, 0);
    long frames = 0;
    while (at + 4 <= size && frames < 12) {
        const std::uint64_t delay = data[at] | (data[at + 1] << 8) | (static_cast<std::uint64_t>(data[at + 2] & 3) << 16);
        const std::uint8_t mode = data[at + 3];
        at += 4;
        Picture frame = frames == 0 ? Picture(pixels * 3, 0) : last;
        if (mode % 3 == 0 && at < size) {  // one pixel changed
            frame[(data[at] % pixels) * 3 + mode / 3 % 3] ^= 0xFF;
            ++at;
        } else if (mode % 3 == 1) {  // every pixel from the input, from a palette of up to 16 colours
            for (std::size_t i = 0; i < pixels && at < size; ++i, ++at) {
                const std::uint8_t c = data[at] % 16;
                frame[i * 3] = static_cast<std::uint8_t>(c * 17);
                frame[i * 3 + 1] = static_cast<std::uint8_t>((c & 3) * 80);
                frame[i * 3 + 2] = static_cast<std::uint8_t>(c * 5);
            }
        } else {  // a new colour in every pixel, past 256 on frames of more than 256 pixels
            for (std::size_t i = 0; i < pixels; ++i) {
                frame[i * 3] = static_cast<std::uint8_t>(i);
                frame[i * 3 + 1] = static_cast<std::uint8_t>(i >> 8);
                frame[i * 3 + 2] = mode;
            }
        }
        ++frames;
        const GifError error =
            gifAddFrame(gif, frame.data(), static_cast<std::size_t>(width * 3), delay) ? kGifOk : gif.error;
        if (error == kGifTooManyColours) {
            if (gif.frames != frames || coloursIn(frame) <= 256) {
                std::abort();
            }
            gifAbandon(gif);
            return 0;
        }
        if (error != kGifOk) {
            std::abort();
        }
        append(given, frame, delay);
        last = frame;
    }
    const GifError finished = gifFinish(gif) ? kGifOk : gif.error;
    if (frames == 0) {
        if (finished != kGifNoFrames || !bytes.empty()) {
            std::abort();
        }
        return 0;
    }
    if (finished != kGifOk) {
        std::abort();
    }
    const std::vector<Shown> decoded = decode(bytes, width, height);
    if (decoded.size() != given.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < given.size(); ++i) {
        if (decoded[i].picture != given[i].picture || decoded[i].delay != given[i].delay) {
            std::abort();
        }
    }
    return 0;
}
