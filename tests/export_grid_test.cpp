// Every scene exported over the extremes of clock and mouse: each picture is written, and no
// frame runs away in time or memory. In the sanitizer build this also runs every scene at these
// inputs under the address and undefined-behaviour checks.
#include "run_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const kClocks[] = {"0", "1", "3999", "16777216", "2147483648", "4294967295"};
const char* const kMice[] = {"0,0",           "1279,0",        "0,719",         "1279,719",
                             "-32768,-32768", "32767,32767",   "32767,-32768",  "-32768,32767",
                             "30000,0",       "640,-32768",    "640,32767"};

// Bounds against a frame that runs away, not a measure of speed (that is bench/'s): an export
// takes about 0.3 s, but tests run side by side with a browser and X servers on two cores.
constexpr double kFrameSeconds = 20.0;
constexpr long kFrameKiB = 1024L * 1024L;

class ExportGrid : public testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(ExportGrid, EveryClockAndMouseGivesAPictureInBoundedTimeAndMemory)
{
    const std::string answer = GetParam();
    const std::string snapshot = snapshotPath();
    char here[4096];
    const std::string buildDir = getcwd(here, sizeof here) != nullptr ? here : ".";
    const std::string dir = makeTempDir();
    const std::string out = dir + "/grid.png";

    std::vector<std::vector<std::string>> inputs;
    for (const char* clock : kClocks) {
        inputs.push_back({"--ticks", clock});
    }
    for (const char* mouse : kMice) {
        inputs.push_back({"--mouse", mouse, "--ticks", "3999"});
    }
    for (const auto& input : inputs) {
        std::vector<std::string> argv = {snapshot, answer, "--out", out};
        argv.insert(argv.end(), input.begin(), input.end());
        const CommandResult run = runCommand(argv, "", buildDir);
        const std::string shown = answer + " " + input[0] + " " + input[1];
        EXPECT_EQ(run.status, 0) << shown << "\n" << run.err;
        EXPECT_EQ(run.err, "") << shown;
        EXPECT_EQ(access(out.c_str(), R_OK), 0) << shown;
        EXPECT_LT(run.seconds, kFrameSeconds) << shown;
        EXPECT_LT(run.maxResidentKiB, kFrameKiB) << shown;
        std::remove(out.c_str());
    }
    rmdir(dir.c_str());
}

INSTANTIATE_TEST_SUITE_P(Scenes, ExportGrid,
                         testing::Values("1", "2", "3", "4", "5", "6", "7", "8", "9", "10"),
                         [](const testing::TestParamInfo<const char*>& scene) {
                             return std::string("Scene") + scene.param;
                         });
