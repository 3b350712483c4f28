// Writing a PNG beside its name and moving it into place.
#include "common/picture_file.h"

#include "common/files.h"

#include <SDL_image.h>

#include <cerrno>
#include <cstring>

PictureWrite writePictureFile(SDL_Surface* pixels, const std::string& path, bool replace, std::string& error)
{
    const std::string partial = path + ".partial";
    if (IMG_SavePNG(pixels, partial.c_str()) != 0) {
        error = SDL_GetError();
        removeFile(partial);
        return kPictureFailed;
    }
    if (replace ? replaceFile(partial, path) : moveWithoutReplacing(partial, path)) {
        return kPictureWritten;
    }
    const bool taken = !replace && errno == EEXIST;
    error = std::strerror(errno);
    removeFile(partial);
    return taken ? kPictureNameTaken : kPictureFailed;
}
