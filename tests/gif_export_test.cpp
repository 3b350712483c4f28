// The animated GIF: the encoder into memory, read back with giflib (frames, delays, colours, and
// its failures); the exporter's GIF read back by ImageMagick, every frame against the PNG series
// of the same command; what it refuses, and how it stops.
#include "run_command.h"

#include "common/app_state.h"
#include "common/gif_encoder.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <filesystem>
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

// A sink into memory that takes at most limit bytes, then refuses; it counts calls after that.
struct MemorySink {
    std::size_t limit = SIZE_MAX;
    std::string bytes;
    bool refused = false;
    int callsAfterRefusal = 0;
};

bool writeToMemory(void* context, const std::uint8_t* bytes, std::size_t size)
{
    MemorySink& sink = *static_cast<MemorySink*>(context);
    sink.callsAfterRefusal += sink.refused ? 1 : 0;
    if (sink.refused || sink.bytes.size() + size > sink.limit) {
        sink.refused = true;
        return false;
    }
    sink.bytes.append(reinterpret_cast<const char*>(bytes), size);
    return true;
}

// One synthetic frame: `colours` colours in turn along the rows, all tinted by `tint`; with
// dotAt >= 0 that pixel is white.
struct FrameSpec {
    int colours;
    int tint;
    std::uint64_t delay;
    int dotAt = -1;
};

constexpr int kWidth = 40, kHeight = 10;  // room for 300 colours

std::string makeFrame(const FrameSpec& f)
{
    std::string frame;
    for (int i = 0; i < kWidth * kHeight; ++i) {
        const int j = i % f.colours;
        frame += {static_cast<char>(j % 256), static_cast<char>(j / 256), static_cast<char>(f.tint)};
    }
    if (f.dotAt >= 0) {
        frame.replace(static_cast<std::size_t>(f.dotAt) * 3, 3, "\xff\xff\xff");
    }
    return frame;
}

// The frames through the encoder into the sink: the first error, or that of finishing.
GifError encode(const std::vector<FrameSpec>& frames, MemorySink& sink, long& failedFrame)
{
    GifEncoder gif;
    bool ok = gifBegin(gif, writeToMemory, &sink, kWidth, kHeight);
    for (std::size_t k = 0; ok && k < frames.size(); ++k) {
        const std::string frame = makeFrame(frames[k]);
        ok = gifAddFrame(gif, reinterpret_cast<const std::uint8_t*>(frame.data()), kWidth * 3, frames[k].delay);
    }
    failedFrame = ok ? 0 : gif.frames;
    if (!ok) {
        gifAbandon(gif);
        return gif.error;
    }
    return gifFinish(gif) ? kGifOk : gif.error;
}

// A GIF decoded again by giflib: what a viewer shows after each stored image, and its delay.
struct Decoded {
    bool read = false;
    int width = 0, height = 0;
    std::vector<std::string> pictures;  // RGB
    std::vector<long> delays;           // hundredths
    std::vector<int> areas;             // pixels each stored image covers
};

struct MemorySource {
    const std::string* bytes;
    std::size_t at = 0;
};

int readFromMemory(GifFileType* file, GifByteType* into, int size)
{
    MemorySource& source = *static_cast<MemorySource*>(file->UserData);
    const std::size_t n = std::min(static_cast<std::size_t>(size), source.bytes->size() - source.at);
    std::memcpy(into, source.bytes->data() + source.at, n);
    source.at += n;
    return static_cast<int>(n);
}

Decoded decode(const std::string& bytes)
{
    Decoded d;
    MemorySource source{&bytes};
    int error = 0;
    GifFileType* file = DGifOpen(&source, readFromMemory, &error);
    if (file == nullptr) {
        return d;
    }
    d.read = DGifSlurp(file) == GIF_OK;
    d.width = file->SWidth;
    d.height = file->SHeight;
    std::string canvas(static_cast<std::size_t>(d.width * d.height * 3), '\0');
    for (int i = 0; d.read && i < file->ImageCount; ++i) {
        const SavedImage& image = file->SavedImages[i];
        const GifImageDesc& at = image.ImageDesc;
        const ColorMapObject* map = at.ColorMap != nullptr ? at.ColorMap : file->SColorMap;
        for (int p = 0; p < at.Width * at.Height; ++p) {
            const GifColorType c = map->Colors[image.RasterBits[p]];
            const std::size_t to = static_cast<std::size_t>(((at.Top + p / at.Width) * d.width + at.Left + p % at.Width) * 3);
            canvas.replace(to, 3, {static_cast<char>(c.Red), static_cast<char>(c.Green), static_cast<char>(c.Blue)});
        }
        GraphicsControlBlock control{};
        DGifSavedExtensionToGCB(file, i, &control);
        d.pictures.push_back(canvas);
        d.delays.push_back(control.DelayTime);
        d.areas.push_back(at.Width * at.Height);
    }
    DGifCloseFile(file, &error);
    return d;
}

}  // namespace

TEST(GifEncoder, IntoMemoryGivesBackEveryFrameItsDelayAndItsExactColours)
{
    const struct {
        const char* name;
        std::vector<FrameSpec> frames;
        std::vector<int> areas;  // of each stored image
    } cases[] = {
        {"256 colours", {{256, 0, 5}}, {400}},
        {"each frame its colours", {{1, 0, 5}, {256, 10, 7}, {2, 20, 9}}, {400, 400, 400}},
        {"equal frames merged", {{3, 0, 4}, {3, 0, 4}, {3, 0, 4}, {5, 0, 2}}, {400, 400}},
        {"only the change stored", {{4, 0, 4}, {4, 0, 4, 123}, {4, 0, 4, 399}}, {400, 1, 259}},
        {"a delay past 16 bits", {{2, 0, 70000}, {2, 9, 65535 * 2 + 1}}, {400, 1, 400, 1, 1}},
        {"a still clock", {{2, 0, 0}, {2, 0, 0}}, {400}},
    };
    for (const auto& c : cases) {
        MemorySink sink;
        long failedFrame = 0;
        ASSERT_EQ(encode(c.frames, sink, failedFrame), kGifOk) << c.name;
        EXPECT_EQ(sink.bytes.rfind("GIF89a", 0), 0u) << c.name;
        EXPECT_NE(sink.bytes.find(std::string("NETSCAPE2.0\x03\x01\x00\x00", 16)), std::string::npos) << c.name;
        const Decoded decoded = decode(sink.bytes);
        ASSERT_TRUE(decoded.read) << c.name;
        EXPECT_EQ(decoded.width, kWidth);
        EXPECT_EQ(decoded.height, kHeight);
        EXPECT_EQ(decoded.areas, c.areas) << c.name;
        std::vector<std::string> frames, expected, pictures;
        std::vector<long> delays, expectedDelays, shownDelays;
        for (const FrameSpec& f : c.frames) {
            frames.push_back(makeFrame(f));
            delays.push_back(static_cast<long>(f.delay));
        }
        mergeRuns(frames, delays, expected, expectedDelays);
        mergeRuns(decoded.pictures, decoded.delays, pictures, shownDelays);
        ASSERT_EQ(pictures.size(), expected.size()) << c.name;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_TRUE(pictures[i] == expected[i]) << c.name << ": picture " << i;
        }
        EXPECT_EQ(shownDelays, expectedDelays) << c.name;
    }
}

TEST(GifEncoder, FailuresComeBackAsCodesAndNothingMoreIsWritten)
{
    const std::vector<FrameSpec> three = {{256, 0, 5}, {256, 10, 5}, {256, 20, 5}};
    MemorySink whole;
    long failedFrame = 0;
    ASSERT_EQ(encode(three, whole, failedFrame), kGifOk);
    const struct {
        const char* name;
        std::vector<FrameSpec> frames;
        std::size_t limit;  // bytes the sink takes
        GifError error;
        long failedFrame;  // 0: not a frame's own fault
    } cases[] = {
        {"257 colours", {{257, 0, 5}}, SIZE_MAX, kGifTooManyColours, 1},
        {"300 colours second", {{2, 0, 5}, {300, 0, 5}}, SIZE_MAX, kGifTooManyColours, 2},
        {"too many after a still run", {{2, 0, 5}, {2, 0, 5}, {2, 0, 5}, {257, 0, 5}}, SIZE_MAX, kGifTooManyColours, 4},
        {"no frames", {}, SIZE_MAX, kGifNoFrames, 0},
        {"the first byte refused", three, 0, kGifWriteFailed, 1},
        {"the header cut", three, 3, kGifWriteFailed, 1},
        {"the first frame cut", three, 900, kGifWriteFailed, 2},
        {"the last frame cut", three, whole.bytes.size() - 20, kGifWriteFailed, 0},
        {"the last byte refused", three, whole.bytes.size() - 1, kGifWriteFailed, 0},
        {"every byte taken", three, whole.bytes.size(), kGifOk, 0},
    };
    for (const auto& c : cases) {
        MemorySink sink;
        sink.limit = c.limit;
        EXPECT_EQ(encode(c.frames, sink, failedFrame), c.error) << c.name;
        EXPECT_EQ(failedFrame, c.failedFrame) << c.name;
        EXPECT_EQ(sink.callsAfterRefusal, 0) << c.name;
        if (c.limit != SIZE_MAX) {  // the same bytes as the whole GIF's, up to where the sink stopped
            EXPECT_EQ(sink.bytes, c.error == kGifOk ? whole.bytes : whole.bytes.substr(0, sink.bytes.size())) << c.name;
            EXPECT_TRUE(sink.refused == (c.error != kGifOk)) << c.name;
        }
        EXPECT_TRUE(c.error != kGifNoFrames || sink.bytes.empty()) << c.name << ": nothing written";
    }
}

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

TEST(GifExport, AnUnwritableOrFullFileIsOneLineWithTheSystemsReasonAndLeavesNothing)
{
    const std::string dir = makeTempDir();
    std::filesystem::create_directory(dir + "/taken.gif");
    const struct {
        std::vector<std::string> args;  // the answer and --out's name first
        rlim_t fileLimit;               // bytes a file may take; 0: no limit
        const char* reason;             // after "cannot write NAME: "; "" for any
    } cases[] = {
        {{"6", dir + "/missing/x.gif", "--frames", "2"}, 0, "No such file or directory"},
        {{"6", "/proc/plotnik.gif"}, 0, ""},
        {{"6", dir + "/taken.gif"}, 0, "Is a directory"},
        {{"6", dir + "/small.gif"}, 1000, "File too large"},  // found when the file is closed
        {{"9", dir + "/large.gif"}, 1000, "File too large"},  // found while a frame is written
        {{"9", dir + "/large.png"}, 1000, "File too large"},
    };
    for (const auto& c : cases) {
        const std::string& out = c.args[1];
        std::vector<std::string> argv = {snapshotPath(), c.args[0], "--out"};
        argv.insert(argv.end(), c.args.begin() + 1, c.args.end());
        struct rlimit was {};
        getrlimit(RLIMIT_FSIZE, &was);
        const struct rlimit limit = {c.fileLimit != 0 ? c.fileLimit : was.rlim_cur, was.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);  // the failed write then says why instead of ending the program
        setrlimit(RLIMIT_FSIZE, &limit);
        const CommandResult run = runCommand(argv, "", ".");
        setrlimit(RLIMIT_FSIZE, &was);
        std::signal(SIGXFSZ, SIG_DFL);
        EXPECT_EQ(run.status, 1) << out;
        EXPECT_EQ(run.err.rfind("plotnik-snapshot: cannot write " + out + ": " + c.reason, 0), 0u) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
        EXPECT_FALSE(fileExists(out + ".partial")) << out;
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
