// Test support: runs one of the built programs as a child process with a given standard input
// and working directory, and collects its exit status and output.
#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct CommandResult {
    int status = -1;  // exit status, or 128 + signal when the child was killed
    std::string out;
    std::string err;
    double seconds = 0;        // wall-clock time from start to end
    long maxResidentKiB = 0;   // the child's peak resident memory
};

inline std::string readWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A fresh empty directory under the system's temporary directory.
inline std::string makeTempDir()
{
    std::string pattern = "/tmp/plotnik-test-XXXXXX";
    const char* made = mkdtemp(pattern.data());
    return made != nullptr ? std::string(made) : std::string();
}

// The built programs under test.
inline std::string plotnikPath() { return PLOTNIK_PATH; }
inline std::string snapshotPath() { return PLOTNIK_SNAPSHOT_PATH; }

inline CommandResult runCommand(const std::vector<std::string>& argv, const std::string& input,
                                const std::string& workdir)
{
    const std::string scratch = makeTempDir();
    const std::string inPath = scratch + "/in", outPath = scratch + "/out", errPath = scratch + "/err";
    std::ofstream(inPath, std::ios::binary) << input;

    CommandResult result;
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int in = open(inPath.c_str(), O_RDONLY);
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 ||
            chdir(workdir.c_str()) != 0) {
            _exit(127);
        }
        std::vector<char*> args;
        for (const std::string& a : argv) {
            args.push_back(const_cast<char*>(a.c_str()));
        }
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (child > 0 && wait4(child, &status, 0, &usage) == child) {
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        result.maxResidentKiB = usage.ru_maxrss;
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.out = readWholeFile(outPath);
    result.err = readWholeFile(errPath);
    std::remove(inPath.c_str());
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    rmdir(scratch.c_str());
    return result;
}
