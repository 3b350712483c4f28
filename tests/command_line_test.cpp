// The command lines of both programs: --version, --help, and anything else refused with the usage.
#include "run_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

TEST(CommandLine, VersionHelpAndRefusals)
{
    const std::string version = std::string("plotnik ") + PLOTNIK_VERSION + "\n";
    const std::string plotnik = plotnikPath(), snapshot = snapshotPath();
    const struct {
        std::vector<std::string> argv;
        int status;
        const char* outStart;  // what standard output starts with
        const char* errStart;  // what standard error starts with
    } cases[] = {
        {{plotnik, "--version"}, 0, version.c_str(), ""},
        {{snapshot, "--version"}, 0, version.c_str(), ""},
        {{plotnik, "--help"}, 0, "usage: plotnik [--help] [--version]\n", ""},
        {{plotnik, "-h"}, 0, "usage: plotnik [--help] [--version]\n", ""},
        {{snapshot, "--help"}, 0, "usage: plotnik-snapshot ANSWER", ""},
        {{plotnik, "--verbose"}, 2, "", "plotnik: unknown option '--verbose'\nusage: plotnik"},
        {{plotnik, "4"}, 2, "", "plotnik: unknown option '4'\nusage: plotnik"},
        {{plotnik, ""}, 2, "", "plotnik: unknown option ''\nusage: plotnik"},
        {{plotnik, "--version", "--help"}, 2, "", "plotnik: one option at most\nusage: plotnik"},
        {{snapshot, "--verbose"}, 2, "", "plotnik-snapshot: unknown option '--verbose'\nusage:"},
        {{snapshot, "1", "--out", "x.jpg"}, 2, "",
         "plotnik-snapshot: --out takes a name ending in .png or .gif (in any case), not 'x.jpg'\nusage:"},
    };
    const std::string dir = makeTempDir();
    for (const auto& c : cases) {
        const CommandResult run = runCommand(c.argv, "", dir);
        const std::string shown = c.argv[0] + " " + c.argv[1];
        EXPECT_EQ(run.status, c.status) << shown;
        EXPECT_TRUE(startsWith(run.out, c.outStart)) << shown << ": " << run.out;
        EXPECT_TRUE(startsWith(run.err, c.errStart)) << shown << ": " << run.err;
        if (c.outStart[0] == '\0') {
            EXPECT_EQ(run.out, "") << shown;
        }
        if (c.errStart[0] == '\0') {
            EXPECT_EQ(run.err, "") << shown;
        }
    }
}

TEST(CommandLine, NoArgumentsStillShowsTheMenu)
{
    // Standard input ends at once, so the menu is shown and the program ends as after Ctrl-D.
    const CommandResult run = runCommand({plotnikPath()}, "", makeTempDir());
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(startsWith(run.out, "1 - Funkcje trygonometryczne\n")) << run.out;
    EXPECT_NE(run.out.find("wybor: "), std::string::npos) << run.out;
}
