// The snapshot exporter: its pictures, its options and its failures.
#include "run_command.h"
#include "scene_window.h"

#include "common/mouse.h"
#include "pictures/pictures.h"
#include "scenes/scenes.h"

#include <SDL_image.h>
#include <pty.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string buildDir()
{
    char here[4096];
    return getcwd(here, sizeof here) != nullptr ? here : ".";
}

bool fileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// The picture in a PNG as 0x00RRGGBB pixels; empty when it is not a 1280 x 720 24-bit RGB PNG.
Frame loadPicture(const std::string& path)
{
    Frame frame;
    SDL_Surface* png = IMG_Load(path.c_str());
    if (png == nullptr) {
        ADD_FAILURE() << path << ": " << IMG_GetError();
        return frame;
    }
    EXPECT_EQ(png->w, kWindowWidth);
    EXPECT_EQ(png->h, kWindowHeight);
    EXPECT_EQ(png->format->BytesPerPixel, 3) << "24-bit RGB";
    if (png->w == kWindowWidth && png->h == kWindowHeight) {
        SDL_Surface* rgb = SDL_ConvertSurfaceFormat(png, SDL_PIXELFORMAT_RGB888, 0);
        frame.pixels.resize(static_cast<std::size_t>(kWindowWidth * kWindowHeight));
        for (int y = 0; y < kWindowHeight; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const char*>(rgb->pixels) + y * rgb->pitch);
            for (int x = 0; x < kWindowWidth; ++x) {
                frame.pixels[static_cast<std::size_t>(y * kWindowWidth + x)] = row[x] & 0x00FFFFFFu;
            }
        }
        SDL_FreeSurface(rgb);
    }
    SDL_FreeSurface(png);
    return frame;
}

// The same frame drawn in this process, as the window would show it.
Frame drawnHere(const char* answer, std::uint32_t ticks)
{
    app.choice = answer;
    app.frameTicks = ticks;
    return renderFrame([] { drawFrame(pictureFor(app.choice), FrameInputs{app.frameTicks, readMouse()}); });
}

}  // namespace

using Snapshot = SceneTest;

TEST_F(Snapshot, WritesTheFrameTheWindowShows)
{
    const std::string dir = makeTempDir();
    const struct {
        const char* answer;
        std::uint32_t ticks;
    } cases[] = {{"1", 20}, {"1", 3999}, {"x", 1000}, {"6", 1000}, {"7", 5000}, {"8", 360}};
    for (const auto& c : cases) {
        const std::string out = dir + "/frame.png";
        const CommandResult run = runCommand(
            {snapshotPath(), c.answer, "--ticks", std::to_string(c.ticks), "--out", out}, "", buildDir());
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        const Frame picture = loadPicture(out);
        const Frame expected = drawnHere(c.answer, c.ticks);
        ASSERT_EQ(picture.pixels.size(), expected.pixels.size());
        EXPECT_TRUE(picture.pixels == expected.pixels) << "answer " << c.answer << " at " << c.ticks;
        std::remove(out.c_str());
    }
    rmdir(dir.c_str());
}

TEST_F(Snapshot, WritesANumberedSeriesWithTheClockStepping)
{
    const std::string dir = makeTempDir();
    const CommandResult run = runCommand({snapshotPath(), "1", "--frames", "3", "--every", "1000", "--ticks",
                                          "20", "--out", dir + "/slide.png"},
                                         "", buildDir());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "frame 1 of 3\nframe 2 of 3\nframe 3 of 3\n");
    for (int k = 0; k < 3; ++k) {
        const std::string path = dir + "/slide-00" + std::to_string(k) + ".png";
        const Frame picture = loadPicture(path);
        EXPECT_TRUE(picture.pixels == drawnHere("1", 20 + 1000 * static_cast<std::uint32_t>(k)).pixels) << path;
        std::remove(path.c_str());
    }
    EXPECT_FALSE(fileExists(dir + "/slide-003.png"));
    EXPECT_FALSE(fileExists(dir + "/slide.png"));

    // The default step is 40 ms.
    const CommandResult single =
        runCommand({snapshotPath(), "6", "--frames", "2", "--out", dir + "/turn.png"}, "", buildDir());
    ASSERT_EQ(single.status, 0) << single.err;
    EXPECT_TRUE(loadPicture(dir + "/turn-001.png").pixels == drawnHere("6", 40).pixels);
    std::remove((dir + "/turn-000.png").c_str());
    std::remove((dir + "/turn-001.png").c_str());
    rmdir(dir.c_str());
}

TEST(SnapshotOptions, OnATerminalTheProgressLineIsUpdatedInPlace)
{
    const std::string dir = makeTempDir();
    const std::string out = dir + "/slide.png";
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        const std::string exporter = snapshotPath();
        execl(exporter.c_str(), exporter.c_str(), "6", "--frames", "3", "--out", out.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    std::string seen;
    char chunk[256];
    for (ssize_t n; (n = read(terminal, chunk, sizeof chunk)) > 0;) {
        seen.append(chunk, static_cast<std::size_t>(n));
    }
    int status = 0;
    waitpid(child, &status, 0);
    close(terminal);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // The terminal turns the final end of line into CR LF.
    EXPECT_EQ(seen, "\rframe 1 of 3\rframe 2 of 3\rframe 3 of 3\r\n");
    for (const char* k : {"000", "001", "002"}) {
        EXPECT_EQ(std::remove((dir + "/slide-" + k + ".png").c_str()), 0) << k;
    }
    rmdir(dir.c_str());
}

TEST(SnapshotOptions, BadArgumentsPrintUsageAndExitWithTwo)
{
    const std::string dir = makeTempDir();
    const std::string out = dir + "/bad.png";
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--ticks", "5"},
        {"1", "2"},
        {"1", "--ticks"},
        {"1", "--ticks", ""},
        {"1", "--ticks", "-1"},
        {"1", "--ticks", "+5"},
        {"1", "--ticks", "4294967296"},
        {"1", "--ticks", "99999999999999999999999"},
        {"1", "--ticks", "12x"},
        {"1", "--ticks", " 12"},
        {"1", "--mouse"},
        {"1", "--mouse", "1,"},
        {"1", "--mouse", ",1"},
        {"1", "--mouse", "x,y"},
        {"1", "--mouse", "1 2"},
        {"1", "--mouse", "1,2,3"},
        {"1", "--mouse", "32768,0"},
        {"1", "--mouse", "0,-32769"},
        {"1", "--mouse", "--5,0"},
        {"1", "--out"},
        {"1", "--out", ""},
        {"1", "--bogus"},
        {"1", "--frames", "0"},
        {"1", "--frames", "10001"},
        {"1", "--frames", "two"},
        {"1", "--every", "10"},
        {"1", "--frames", "3", "--every", "-1"},
        {"1", "--frames", "2", "--ticks", "4294967295"},
    };
    for (const auto& args : cases) {
        std::vector<std::string> argv = {snapshotPath()};
        argv.insert(argv.end(), args.begin(), args.end());
        if (std::find(args.begin(), args.end(), "--out") == args.end()) {
            argv.insert(argv.end(), {"--out", out});
        }
        const CommandResult run = runCommand(argv, "", dir);
        std::string shown;
        for (const std::string& a : args) {
            shown += "[" + a + "] ";
        }
        EXPECT_EQ(run.status, 2) << shown;
        EXPECT_NE(run.err.find("usage: plotnik-snapshot ANSWER"), std::string::npos) << shown << run.err;
        EXPECT_FALSE(fileExists(out)) << shown;
    }
    const CommandResult help = runCommand({snapshotPath(), "--help"}, "", dir);
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: plotnik-snapshot ANSWER", 0), 0u) << help.out;
    rmdir(dir.c_str());
}

TEST(SnapshotOptions, TheExtensionInAnyCaseChoosesPngOrGifAndASeriesIsNumberedBeforeIt)
{
    const std::string png = "\x89PNG\r\n", gif = "GIF89a";
    const struct {
        const char* out;
        const char* frames;  // "" for none
        std::vector<std::pair<const char*, const std::string*>> written;  // each file and its kind
    } cases[] = {
        {"Shot.PNG", "2", {{"Shot-000.PNG", &png}, {"Shot-001.PNG", &png}}},
        {"y.GIF", "2", {{"y.GIF", &gif}}},
        {"s.Png", "", {{"s.Png", &png}}},
        {"m.gIf", "", {{"m.gIf", &gif}}},
        {"a.b.png", "1", {{"a.b-000.png", &png}}},
        {"clip.gif.png", "2", {{"clip.gif-000.png", &png}, {"clip.gif-001.png", &png}}},
        {"clip.png.gif", "2", {{"clip.png.gif", &gif}}},
    };
    for (const auto& c : cases) {
        const std::string dir = makeTempDir();
        std::vector<std::string> argv = {snapshotPath(), "6", "--out", dir + "/" + c.out};
        if (*c.frames != '\0') {
            argv.insert(argv.end(), {"--frames", c.frames});
        }
        const CommandResult run = runCommand(argv, "", buildDir());
        EXPECT_EQ(run.status, 0) << c.out << ": " << run.err;
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            files.push_back(entry.path().filename());
        }
        std::sort(files.begin(), files.end());
        std::vector<std::string> expected;
        for (const auto& [name, kind] : c.written) {
            expected.push_back(name);
            EXPECT_EQ(readWholeFile(dir + "/" + name).rfind(*kind, 0), 0u) << name << (kind == &png ? " is no PNG" : " is no GIF");
        }
        EXPECT_EQ(files, expected) << c.out;
        std::filesystem::remove_all(dir);
    }
}

TEST(SnapshotOptions, AnyOtherNameIsRefusedWithStatusTwoBeforeAnythingIsDrawn)
{
    const std::vector<std::string> names = {"x.jpg", "x", "x.jpeg", "x.png.partial", "x.png ", "x.", "x.pn",
                                            "png", ".gif", "x.gif/", "x.PNG.bak"};
    for (const std::string& name : names) {
        for (const bool series : {false, true}) {
            const std::string dir = makeTempDir();
            std::vector<std::string> argv = {snapshotPath(), "7", "--out", name};
            if (series) {
                argv.insert(argv.end(), {"--frames", "3"});
            }
            const CommandResult run = runCommand(argv, "", dir);
            const std::string shown = "'" + name + "'" + (series ? " series" : "");
            EXPECT_EQ(run.status, 2) << shown;
            EXPECT_EQ(run.err.rfind("plotnik-snapshot: --out takes a name ending in .png or .gif (in any case), not '" +
                                        name + "'\nusage: plotnik-snapshot ANSWER",
                                    0),
                      0u)
                << shown << ": " << run.err;
            EXPECT_EQ(run.out, "") << shown;
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 0) << shown << ": nothing written";
            std::filesystem::remove_all(dir);
        }
    }
}

TEST(SnapshotOptions, TakesTheWholeRangeOfClockAndMouse)
{
    const std::string dir = makeTempDir();
    const std::vector<std::vector<std::string>> cases = {
        {"1", "--ticks", "4294967295"},
        {"6", "--ticks", "0"},
        {"4", "--mouse", "-32768,32767"},
        {"2", "--mouse", "32767,-32768"},
        {"10", "--mouse", "0,0"},
        {"1", "--frames", "1", "--ticks", "4294967295"},
    };
    for (const auto& args : cases) {
        std::vector<std::string> argv = {snapshotPath()};
        argv.insert(argv.end(), args.begin(), args.end());
        argv.insert(argv.end(), {"--out", dir + "/ok.png"});
        const CommandResult run = runCommand(argv, "", buildDir());
        EXPECT_EQ(run.status, 0) << args[0] << " " << args[1] << " " << args[2] << ": " << run.err;
        std::remove((dir + "/ok.png").c_str());
        std::remove((dir + "/ok-000.png").c_str());
    }
    rmdir(dir.c_str());
}

TEST(SnapshotOptions, AnUnwritableFileIsOneLineAndExitOne)
{
    const std::string dir = makeTempDir();
    std::filesystem::create_directory(dir + "/taken.png");
    for (const std::string& out : {dir + "/missing/dir/x.png", std::string("/proc/plotnik.png"), dir + "/taken.png"}) {
        const CommandResult run = runCommand({snapshotPath(), "1", "--out", out}, "", buildDir());
        EXPECT_EQ(run.status, 1) << out;
        EXPECT_NE(run.err.find(out), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
        EXPECT_FALSE(fileExists(out + ".partial"));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << "only the folder";
    std::filesystem::remove_all(dir);
}

TEST_F(Snapshot, FindsItsFontFromAnyFolder)
{
    // Where the exporter runs from, and what stands at Assets/Calibri.ttf in the working directory
    // and beside the exporter: a font, an empty file, or nothing. A copied exporter has its own
    // folder beside it; the build's has the build folder's font.
    enum Kind { kNothing, kFont, kEmpty };
    const struct {
        Kind working;
        bool copied;
        Kind beside;  // of a copied exporter
        const char* report;  // after "TTF_OpenFont: "; "" when the labels are drawn
    } cases[] = {
        {kNothing, false, kNothing, ""},
        {kEmpty, false, kNothing, "Couldn't read Assets/Calibri.ttf"},
        {kNothing, true, kEmpty, "Couldn't read @/Assets/Calibri.ttf"},
        {kFont, true, kEmpty, ""},
        {kNothing, true, kFont, ""},
        {kNothing, true, kNothing, ""},  // the installed Carlito
    };
    const Frame labelled = drawnHere("1", 1000);
    for (const auto& c : cases) {
        const std::string shown = "case " + std::to_string(&c - cases);
        const std::string work = makeTempDir();
        const std::string home = makeTempDir();
        const auto put = [](Kind kind, const std::string& folder) {
            if (kind != kNothing) {
                std::filesystem::create_directory(folder + "/Assets");
                std::ofstream font(folder + "/Assets/Calibri.ttf", std::ios::binary);
                if (kind == kFont) {
                    font << readWholeFile(buildDir() + "/Assets/Calibri.ttf");
                }
            }
        };
        put(c.working, work);
        put(c.beside, home);
        std::string exporter = snapshotPath();
        if (c.copied) {
            exporter = home + "/plotnik-snapshot";
            std::filesystem::copy_file(snapshotPath(), exporter);
        }
        std::string report = c.report;
        if (report.find('@') != std::string::npos) {
            report.replace(report.find('@'), 1, home);
        }

        const CommandResult run = runCommand({exporter, "1", "--ticks", "1000", "--out", "out.png"}, "", work);
        EXPECT_EQ(run.status, 0) << shown << ": " << run.err;
        EXPECT_EQ(run.out, report.empty() ? "" : "TTF_OpenFont: " + report + "\n") << shown;
        const Frame picture = loadPicture(work + "/out.png");
        ASSERT_EQ(picture.pixels.size(), labelled.pixels.size()) << shown;
        if (report.empty()) {
            EXPECT_TRUE(picture.pixels == labelled.pixels) << shown << ": drawn with the font";
        } else {
            // Graphs without names or readout: the corner where the readout would be stays dark.
            int white = 0;
            for (int y = 12; y < 40; ++y) {
                for (int x = 100; x < 160; ++x) {
                    white += picture.at(x, y) == kWhite ? 1 : 0;
                }
            }
            EXPECT_EQ(white, 0) << shown << ": readout drawn without a font";
            EXPECT_GT(picture.count(kRed), 1000) << shown;
        }
        std::filesystem::remove_all(work);
        std::filesystem::remove_all(home);
    }
}
