// A frame written to a PNG file, whole or not at all.
#pragma once

#include <SDL.h>

#include <string>

enum PictureWrite {
    kPictureWritten = 0,
    kPictureNameTaken = 1,  // a file stands at the name and was not to be replaced; it is left as it was
    kPictureFailed = 2,
};

// Writes the pixels as a PNG at path: first into path + ".partial" beside it, then moved to the
// name, so that a failed write leaves no half-written picture behind. With replace, a file at
// the name is replaced; without, it is kept and the answer is kPictureNameTaken. When it fails,
// error says why.
PictureWrite writePictureFile(SDL_Surface* pixels, const std::string& path, bool replace, std::string& error);
