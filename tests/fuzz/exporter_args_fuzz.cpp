// Any command line for the exporter (arguments split at NUL bytes): read as the exporter reads it,
// and when it asks for a few frames, drawn and written, always inside a folder of the fuzzer's
// own. What is written is whole: no partial file is ever left behind.
#include "common/window.h"
#include "exporter/export.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr long kMostFrames = 3;  // more would only repeat the same work, slowly

std::string folder;

// The names in the folder, which is emptied.
std::vector<std::string> takeFiles()
{
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    for (dirent* entry = dir != nullptr ? readdir(dir) : nullptr; entry != nullptr; entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
            std::remove((folder + "/" + name).c_str());
        }
    }
    if (dir != nullptr) {
        closedir(dir);
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char pattern[] = "/tmp/plotnik-fuzz-export-XXXXXX";
    std::string why;
    if (mkdtemp(pattern) == nullptr || chdir(pattern) != 0 || !openWindow(kHeadless, why)) {
        std::abort();
    }
    folder = pattern;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> args = {"plotnik-snapshot"};
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    args.push_back(current);

    Options o;
    std::string why;
    if (!parseOptions(args, o, why)) {
        if (why.empty()) {
            std::abort();  // a refusal says what was wrong
        }
        return 0;
    }
    if (o.request != kDrawFrames) {
        return 0;
    }
    OutputKind kind = kPng;
    if (!o.haveAnswer || !outputKindOf(o.out, kind) || kind != o.kind || o.frames < 0 || o.frames > 10000) {
        std::abort();  // a good command line has what the export needs
    }
    if (o.frames > kMostFrames) {
        return 0;
    }
    // Only the file's own name is kept: whatever folder it named, it is written here.
    o.out = o.out.substr(o.out.find_last_of('/') + 1);
    if (!outputKindOf(o.out, o.kind)) {
        return 0;
    }
    const bool exported = exportFrames(o, why);
    const std::vector<std::string> written = takeFiles();
    for (const std::string& name : written) {
        if (name.size() >= 8 && name.compare(name.size() - 8, 8, ".partial") == 0) {
            std::abort();
        }
    }
    const std::size_t expected = o.kind == kGif || o.frames == 0 ? 1 : static_cast<std::size_t>(o.frames);
    if (exported ? written.size() != expected : why.empty()) {
        std::abort();
    }
    return 0;
}
