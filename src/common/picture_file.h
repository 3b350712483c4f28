// Pictures written to files whole or not at all: each is written beside its name, as NAME.partial,
// and moved to the name only once every byte is there, so that a failed or abandoned write leaves
// no half-written picture behind.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <string>

enum PictureWrite {
    kPictureWritten = 0,
    kPictureNameTaken = 1,  // a file stands at the name and was not to be replaced; it is left as it was
    kPictureFailed = 2,
};

// A file being written beside its name.
struct PartialFile {
    std::string path;     // the finished file
    std::string partial;  // where it is written meanwhile
    std::FILE* file = nullptr;
    int writeErrno = 0;   // the system's reason a write failed; 0 while none has
};

// Opens path's partial file; false, with error set, when it cannot be made.
bool openPartial(PartialFile& f, const std::string& path, std::string& error);

// The bytes into the partial file (a GIF encoder's sink: context is the PartialFile). After a
// failed write nothing more goes, and false is answered.
bool writeToPartial(void* context, const std::uint8_t* bytes, std::size_t size);

// Closes and removes the partial file, if one is open.
void abandonPartial(PartialFile& f);

// Closes the partial file and moves it to its name, replacing a file there or, without replace,
// never (kPictureNameTaken then). On any failure the partial file is removed and error says why.
PictureWrite finishPartial(PartialFile& f, bool replace, std::string& error);

// Writes the pixels as a PNG at path, through its partial file, replacing a file there or not.
// The PNG encoder does not say when a write fails (it would leave a cut PNG): the partial file
// remembers it, so a full disk is a failure here.
PictureWrite writePictureFile(SDL_Surface* pixels, const std::string& path, bool replace, std::string& error);
