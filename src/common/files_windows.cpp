// Files on Windows: names go to the system as UTF-16, so that Polish letters survive; rename
// there does not replace an existing file, MoveFileEx does when asked to.
#include "common/files.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>

namespace {

std::wstring wide(const std::string& utf8)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    if (n <= 0) {
        return std::wstring();
    }
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &out[0], n);
    out.resize(static_cast<std::size_t>(n - 1));
    return out;
}

// errno for the system's last error, so that messages read as on Linux.
void setErrnoFromSystem()
{
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        errno = ENOENT;
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        errno = EACCES;
        break;
    case ERROR_DISK_FULL:
        errno = ENOSPC;
        break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        errno = EEXIST;
        break;
    default:
        errno = EIO;
    }
}

}  // namespace

bool existsAtAll(const std::string& path)
{
    if (GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND &&
           error != ERROR_INVALID_NAME;
}

bool replaceFile(const std::string& from, const std::string& to)
{
    if (MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0) {
        return true;
    }
    setErrnoFromSystem();
    return false;
}

bool moveWithoutReplacing(const std::string& from, const std::string& to)
{
    if (MoveFileExW(wide(from).c_str(), wide(to).c_str(), 0) != 0) {
        return true;
    }
    setErrnoFromSystem();
    return false;
}

std::FILE* openForWriting(const std::string& path)
{
    const int fd = _wopen(wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                          _S_IREAD | _S_IWRITE);
    std::FILE* file = fd < 0 ? nullptr : _fdopen(fd, "wb");
    if (fd >= 0 && file == nullptr) {
        const int why = errno;
        _close(fd);
        errno = why;
    }
    return file;
}

void removeFile(const std::string& path)
{
    DeleteFileW(wide(path).c_str());
}
