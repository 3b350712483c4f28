// Writing a picture beside its name and moving it into place.
#include "common/picture_file.h"

#include "common/files.h"

#include <SDL_image.h>

#include <cerrno>
#include <cstring>

namespace {

// The PNG encoder's way out, an SDL stream that only writes: into the partial file.
size_t SDLCALL writeStream(SDL_RWops* stream, const void* bytes, size_t size, size_t count)
{
    return writeToPartial(stream->hidden.unknown.data1, static_cast<const std::uint8_t*>(bytes), size * count)
               ? count
               : 0;
}

}  // namespace

bool openPartial(PartialFile& f, const std::string& path, std::string& error)
{
    f = PartialFile{path, path + ".partial"};
    f.file = openForWriting(f.partial);
    if (f.file == nullptr) {
        error = std::strerror(errno);
    }
    return f.file != nullptr;
}

bool writeToPartial(void* context, const std::uint8_t* bytes, std::size_t size)
{
    PartialFile& f = *static_cast<PartialFile*>(context);
    if (f.writeErrno == 0 && std::fwrite(bytes, 1, size, f.file) != size) {
        f.writeErrno = errno != 0 ? errno : EIO;
    }
    return f.writeErrno == 0;
}

void abandonPartial(PartialFile& f)
{
    if (f.file != nullptr) {
        std::fclose(f.file);
        f.file = nullptr;
        removeFile(f.partial);
    }
}

PictureWrite finishPartial(PartialFile& f, bool replace, std::string& error)
{
    int why = f.writeErrno;
    if (std::fclose(f.file) != 0 && why == 0) {
        why = errno;
    }
    f.file = nullptr;
    bool taken = false;
    if (why == 0 && !(replace ? replaceFile(f.partial, f.path) : moveWithoutReplacing(f.partial, f.path))) {
        why = errno;
        taken = !replace && why == EEXIST;
    }
    if (why != 0) {
        removeFile(f.partial);
        error = std::strerror(why);
        return taken ? kPictureNameTaken : kPictureFailed;
    }
    return kPictureWritten;
}

PictureWrite writePictureFile(SDL_Surface* pixels, const std::string& path, bool replace, std::string& error)
{
    PartialFile png;
    if (!openPartial(png, path, error)) {
        return kPictureFailed;
    }
    SDL_RWops* stream = SDL_AllocRW();
    if (stream == nullptr) {
        error = SDL_GetError();
        abandonPartial(png);
        return kPictureFailed;
    }
    stream->type = SDL_RWOPS_UNKNOWN;
    stream->size = [](SDL_RWops*) -> Sint64 { return -1; };
    stream->seek = [](SDL_RWops*, Sint64, int) -> Sint64 { return SDL_SetError("a PNG is written straight through"); };
    stream->read = [](SDL_RWops*, void*, size_t, size_t) -> size_t { return 0; };
    stream->write = writeStream;
    stream->close = [](SDL_RWops* self) { SDL_FreeRW(self); return 0; };
    stream->hidden.unknown.data1 = &png;
    if (IMG_SavePNG_RW(pixels, stream, 1) != 0) {
        error = png.writeErrno != 0 ? std::strerror(png.writeErrno) : SDL_GetError();
        abandonPartial(png);
        return kPictureFailed;
    }
    return finishPartial(png, replace, error);
}
