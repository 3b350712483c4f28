// The exporter's animated GIF, read back by ImageMagick: every frame against the PNG series of the
// same command, the delays and the loop; what it refuses, and how it stops.
#include "run_command.h"

#include "common/app_state.h"
#include "exporter/gif_writer.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <numeric>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

std::string shellOutput(const std::string& command)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    char chunk[65536];
    for (std::size_t n; pipe != nullptr && (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
        out.append(chunk, n);
    }
    return pipe != nullptr && pclose(pipe) == 0 ? out : "failed: " + command;
}

// The pictures of image files as a viewer shows them, frame after frame, in raw RGB; none, and a
// failure, unless they decode to whole frames.
std::vector<std::string> rgbFrames(const std::string& files, std::size_t frameBytes)
{
    const std::string raw = shellOutput("/usr/bin/convert " + files + " -coalesce -depth 8 rgb:-");
    if (raw.empty() || raw.size() % frameBytes != 0) {
        ADD_FAILURE() << files << " are not whole frames: " << raw.substr(0, 200);
        return {};
    }
    std::vector<std::string> frames;
    for (std::size_t at = 0; at < raw.size(); at += frameBytes) {
        frames.push_back(raw.substr(at, frameBytes));
    }
    return frames;
}

// Consecutive equal frames as one, shown for the sum of their delays.
void mergeRuns(const std::vector<std::string>& frames, const std::vector<long>& delays,
               std::vector<std::string>& runs, std::vector<long>& runDelays)
{
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (runs.empty() || runs.back() != frames[i]) {
            runs.push_back(frames[i]);
            runDelays.push_back(0);
        }
        runDelays.back() += i < delays.size() ? delays[i] : -1;
    }
}

bool fileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

}  // namespace

TEST(GifExport, EveryFrameIsThePngSeriesWithEqualFramesMerged)
{
    const struct {
        std::vector<std::string> args;
        long delay;  // hundredths of a second each frame is shown
    } cases[] = {
        {{"7", "--frames", "8", "--ticks", "100"}, 4},
        {{"3", "--frames", "10"}, 4},  // still: one stored frame
        {{"2", "--frames", "3", "--mouse", "1270,400", "--every", "1000"}, 100},
        {{"6", "--frames", "4", "--every", "0"}, 0},
        {{"6", "--frames", "3", "--every", "4"}, 1},
        {{"1", "--frames", "5", "--every", "15", "--ticks", "3950"}, 2},
        {{"8", "--frames", "2", "--every", "700000"}, 70000},  // more than one GIF delay holds
        {{"9"}, 4},
    };
    for (const auto& c : cases) {
        const std::string dir = makeTempDir(), gif = dir + "/s.gif", shown = c.args[0] + " " + c.args.back();
        std::vector<std::string> argv = {snapshotPath()};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        argv.insert(argv.end(), {"--out", dir + "/s.png"});
        const CommandResult pngRun = runCommand(argv, "", ".");
        argv.back() = gif;
        const CommandResult gifRun = runCommand(argv, "", ".");
        ASSERT_EQ(gifRun.status, 0) << shown << ": " << gifRun.err;
        EXPECT_EQ(gifRun.err, pngRun.err) << shown << ": the same progress";
        const std::string loopForever("NETSCAPE2.0\x03\x01\x00\x00", 16);  // sub-block 1: count 0
        EXPECT_NE(readWholeFile(gif).find(loopForever), std::string::npos) << shown;
        struct stat gifFile {}, pngFile {};
        stat(gif.c_str(), &gifFile);
        stat((dir + (c.args.size() > 1 ? "/s-000.png" : "/s.png")).c_str(), &pngFile);
        EXPECT_EQ(gifFile.st_mode, pngFile.st_mode) << shown;

        const std::size_t frameBytes = std::size_t{kWindowWidth} * kWindowHeight * 3;
        const std::vector<std::string> pngs = rgbFrames(dir + "/s*.png", frameBytes);
        std::vector<std::string> expected, pictures;
        std::vector<long> expectedDelays, delays, stored;
        mergeRuns(pngs, std::vector<long>(pngs.size(), c.delay), expected, expectedDelays);
        std::istringstream storedDelays(shellOutput("/usr/bin/identify -format '%T ' " + gif));
        for (long d = 0; storedDelays >> d;) {
            stored.push_back(d);
        }
        mergeRuns(rgbFrames(gif, frameBytes), stored, pictures, delays);
        ASSERT_EQ(pictures.size(), expected.size()) << shown;
        long needed = 0;  // a frame a run, and one more for each 65535 hundredths past the first
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_TRUE(pictures[i] == expected[i]) << shown << ": picture " << i;
            needed += std::max(1L, (expectedDelays[i] + 65534) / 65535);
        }
        EXPECT_EQ(delays, expectedDelays) << shown;
        EXPECT_EQ(static_cast<long>(stored.size()), needed) << shown << ": no frame stored twice";
        std::filesystem::remove_all(dir);
    }
}

TEST(GifExport, HoldsUpTo256ColoursAFrameExactlyAndRefusesMore)
{
    constexpr int kWidth = 40, kHeight = 10;  // room for 300 colours
    const struct {
        std::vector<int> colours;  // of each frame in turn
        rlim_t fileLimit;          // bytes the file may take; 0: no limit
        const char* error;         // "" when the GIF is written
    } cases[] = {
        {{256}, 0, ""},
        {{1, 256, 2}, 0, ""},
        {{257}, 0, "frame 1 has more than 256 colours"},
        {{2, 300}, 0, "frame 2 has more than 256 colours"},
        {{256, 256, 256}, 1000, "File too large"},
    };
    for (const auto& c : cases) {
        const std::string dir = makeTempDir(), path = dir + "/c.gif";
        const std::string shown = std::to_string(c.colours.back()) + " colours, limit " + std::to_string(c.fileLimit);
        struct rlimit was {};
        getrlimit(RLIMIT_FSIZE, &was);
        const struct rlimit limit = {c.fileLimit != 0 ? c.fileLimit : was.rlim_cur, was.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
        GifSeries gif;
        bool ok = gifBegin(gif, path, kWidth, kHeight);
        std::string frames;
        for (std::size_t k = 0; ok && k < c.colours.size(); ++k) {
            std::string frame;
            for (int i = 0; i < kWidth * kHeight; ++i) {
                const int j = i % c.colours[k];
                frame += {static_cast<char>(j % 256), static_cast<char>(j / 256), static_cast<char>(10 * k)};
            }
            ok = gifAddFrame(gif, reinterpret_cast<const std::uint8_t*>(frame.data()), kWidth * 3, 5);
            frames += frame;
        }
        ok = ok ? gifFinish(gif) : (gifAbandon(gif), false);
        setrlimit(RLIMIT_FSIZE, &was);
        std::signal(SIGXFSZ, SIG_DFL);

        EXPECT_EQ(ok, *c.error == '\0') << shown << ": " << gif.error;
        EXPECT_EQ(gif.error.rfind(ok ? "" : "cannot write " + path + ": ", 0), 0u) << gif.error;
        EXPECT_NE(gif.error.find(c.error), std::string::npos) << shown << ": " << gif.error;
        EXPECT_EQ(fileExists(path), ok) << shown;
        EXPECT_FALSE(fileExists(path + ".partial")) << shown;
        const std::vector<std::string> decoded = ok ? rgbFrames(path, frames.size() / c.colours.size()) : std::vector<std::string>{};
        EXPECT_TRUE(!ok || std::accumulate(decoded.begin(), decoded.end(), std::string()) == frames) << shown;
        std::filesystem::remove_all(dir);
    }
}

TEST(GifExport, AnUnwritableFileIsOneLineExitOneAndLeavesNothing)
{
    const std::string dir = makeTempDir();
    std::filesystem::create_directory(dir + "/taken.gif");
    const std::vector<std::vector<std::string>> cases = {
        {dir + "/missing/x.gif", "--frames", "2"}, {"/proc/plotnik.gif"}, {dir + "/taken.gif"}};
    for (const auto& c : cases) {
        std::vector<std::string> argv = {snapshotPath(), "6", "--out"};
        argv.insert(argv.end(), c.begin(), c.end());
        const CommandResult run = runCommand(argv, "", ".");
        EXPECT_EQ(run.status, 1) << c[0];
        EXPECT_EQ(run.err.rfind("plotnik-snapshot: cannot write " + c[0] + ": ", 0), 0u) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
        EXPECT_FALSE(fileExists(c[0] + ".partial")) << c[0];
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << "only the folder";
    std::filesystem::remove_all(dir);
}

TEST(GifExport, CtrlCOrTermStopsALongSeriesAndLeavesNoPartialFile)
{
    for (const auto& [signal, status, name] : {std::tuple{"INT", 130, "x.gif"}, std::tuple{"TERM", 143, "x.png"}}) {
        const std::string dir = makeTempDir();
        // The signal three seconds into 10000 frames; SIGKILL ten seconds later if it went unheard.
        const CommandResult run = runCommand({"/usr/bin/timeout", "--preserve-status", "-k", "10", "-s", signal, "3",
                                              snapshotPath(), "7", "--frames", "10000", "--out", dir + "/" + name},
                                             "", ".");
        EXPECT_EQ(run.status, status) << name;
        EXPECT_NE(run.err.find("frame 1 of 10000\n"), std::string::npos) << "stopped in the series";
        EXPECT_EQ(run.err.find("frame 10000 of"), std::string::npos) << "stopped early";
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            const std::string file = entry.path().filename();  // only finished PNGs of the series
            EXPECT_TRUE(file.size() == 9 && file.rfind("x-", 0) == 0 && file.find(".png") == 5) << file;
        }
        std::filesystem::remove_all(dir);
    }
}
