// Clearing the console after a window closes: a terminal gets the clear codes, a pipe or a file
// gets nothing, so transcripts stay clean. Each case runs clearConsole() in a child process whose
// standard output is the terminal, pipe or file under test.
#include "console/console_platform.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

enum class Output { Terminal, Pipe, File };

// Everything that can be read from fd until its end. A terminal whose last writer has gone
// reports EIO rather than the end of a file; both end the reading.
std::string readUntilClosed(int fd)
{
    std::string seen;
    char chunk[256];
    for (ssize_t n; (n = read(fd, chunk, sizeof chunk)) > 0;) {
        seen.append(chunk, static_cast<std::size_t>(n));
    }
    return seen;
}

// Runs clearConsole() with standard output on the given kind of output; what arrived there.
std::string clearOnto(Output output)
{
    // Nothing of this process's own buffered output may follow the child into its output.
    std::fflush(nullptr);
    int reader = -1;
    pid_t child = -1;
    char fileName[] = "/tmp/plotnik-console-XXXXXX";
    if (output == Output::Terminal) {
        child = forkpty(&reader, nullptr, nullptr, nullptr);
    } else {
        int ends[2] = {-1, -1};
        if (output == Output::Pipe) {
            EXPECT_EQ(pipe(ends), 0);
        } else {
            ends[1] = mkstemp(fileName);
            ends[0] = open(fileName, O_RDONLY);
            unlink(fileName);
        }
        if (ends[0] < 0 || ends[1] < 0) {
            ADD_FAILURE() << "no pipe or file to write to";
            return "";
        }
        child = fork();
        if (child == 0) {
            dup2(ends[1], STDOUT_FILENO);
        }
        close(ends[1]);
        reader = ends[0];
    }
    if (child == 0) {
        clearConsole();
        std::fflush(stdout);
        _exit(0);
    }
    EXPECT_GE(child, 0) << "fork failed";
    int status = -1;
    std::string seen;
    if (child > 0) {
        // A file is read once the child has written it; a terminal or pipe until the child ends.
        if (output == Output::File) {
            waitpid(child, &status, 0);
            seen = readUntilClosed(reader);
        } else {
            seen = readUntilClosed(reader);
            waitpid(child, &status, 0);
        }
    }
    close(reader);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return seen;
}

}  // namespace

TEST(ConsoleClear, OnlyATerminalIsCleared)
{
    const struct {
        Output output;
        const char* name;
        std::string expected;
    } cases[] = {
        // Erase the whole screen, then the cursor to the top-left corner.
        {Output::Terminal, "terminal", "\033[2J\033[H"},
        {Output::Pipe, "pipe", ""},
        {Output::File, "file", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(clearOnto(c.output), c.expected) << c.name;
    }
}
