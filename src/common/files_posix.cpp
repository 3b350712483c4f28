// Files on Linux and other POSIX systems: file names are bytes, UTF-8 passes as it is.
#include "common/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

bool existsAtAll(const std::string& path)
{
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

bool replaceFile(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool moveWithoutReplacing(const std::string& from, const std::string& to)
{
    // A second name for the file fails when the target is there; then the first name goes.
    if (link(from.c_str(), to.c_str()) == 0) {
        unlink(from.c_str());
        return true;
    }
    if (errno == EEXIST) {
        return false;
    }
    // A file system without hard links (a FAT stick): look, then rename.
    if (existsAtAll(to)) {
        errno = EEXIST;
        return false;
    }
    return std::rename(from.c_str(), to.c_str()) == 0;
}

std::FILE* openForWriting(const std::string& path)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    std::FILE* file = fd < 0 ? nullptr : fdopen(fd, "wb");
    if (fd >= 0 && file == nullptr) {
        const int why = errno;
        close(fd);
        errno = why;
    }
    return file;
}

void removeFile(const std::string& path)
{
    std::remove(path.c_str());
}
