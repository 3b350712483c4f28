// Files named in UTF-8, as SDL names them, on every platform.
#pragma once

#include <cstdio>
#include <string>

// Whether anything stands at the path, readable or not (a dangling link or a folder that may not
// be searched counts too).
bool existsAtAll(const std::string& path);

// Moves a finished file over the target, replacing a file already there; false with errno set
// when it cannot.
bool replaceFile(const std::string& from, const std::string& to);

// Moves a finished file to the target only when nothing stands there; false with errno set when
// it cannot, EEXIST when the name is taken (the file there is left as it was).
bool moveWithoutReplacing(const std::string& from, const std::string& to);

// Creates or empties a file for writing bytes as they are, with the permissions any new file
// gets, not inherited by child processes; the stream, or null with errno set.
std::FILE* openForWriting(const std::string& path);

// Removes a file if it is there.
void removeFile(const std::string& path);
