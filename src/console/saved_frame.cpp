// Naming, writing and announcing a frame saved from the window.
#include "console/saved_frame.h"

#include "common/files.h"
#include "common/frame_pixels.h"
#include "common/picture_file.h"
#include "pictures/frame_link.h"

#include <SDL.h>

namespace {

// Enough copies of one frame for any lesson; past them the folder is full of this frame.
constexpr int kMaxCopies = 9999;

}  // namespace

std::string savedFrameName(const Picture& picture, const FrameInputs& inputs, int n)
{
    std::string name = frameFileName(picture, inputs);  // the page's name for the same frame
    if (n > 1) {
        name.insert(name.size() - std::string(".png").size(), "-" + std::to_string(n));
    }
    return name;
}

std::string snapshotCommand(const Picture& picture, const FrameInputs& inputs)
{
    std::string command = std::string("plotnik-snapshot ") + picture.answer;
    if (picture.steering == kSteeredByClock) {
        command += " --ticks " + std::to_string(inputs.ticks);
    } else if (picture.steering == kSteeredByMouse) {
        command += " --mouse " + std::to_string(inputs.mouse.x) + "," + std::to_string(inputs.mouse.y);
    }
    return command;
}

std::string saveDrawnFrame(const Picture& picture, const FrameInputs& inputs)
{
    const std::string failed = "Nie udało się zapisać klatki do pliku " + savedFrameName(picture, inputs, 1) +
                               " w folderze, w którym uruchomiono Plotnika: ";
    std::string error;
    SDL_Surface* pixels = makeFramePixels(error);
    if (pixels == nullptr) {
        return failed + error;
    }
    if (!readFramePixels(pixels, error)) {
        SDL_FreeSurface(pixels);
        return failed + error;
    }
    error = "każda nazwa tej klatki jest już zajęta";
    for (int n = 1; n <= kMaxCopies; ++n) {
        const std::string name = savedFrameName(picture, inputs, n);
        if (existsAtAll(name) || existsAtAll(name + ".partial")) {
            continue;
        }
        const PictureWrite written = writePictureFile(pixels, name, false, error);
        if (written == kPictureNameTaken) {
            continue;  // taken between the look and the move
        }
        SDL_FreeSurface(pixels);
        if (written == kPictureFailed) {
            return failed + error;
        }
        return "Zapisano klatkę: " + name + " (polecenie: " + snapshotCommand(picture, inputs) +
               "; na stronie: #" + frozenLink(picture.answer, inputs) + ")";
    }
    SDL_FreeSurface(pixels);
    return failed + error;
}
