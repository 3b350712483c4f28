// Which font file is read when several places could hold one.
#include "run_command.h"

#include "common/app_state.h"
#include "common/fonts.h"

#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

enum Kind { kMissing, kFont, kEmpty, kFolder };

// Puts a thing of the kind at the path.
void make(Kind kind, const std::string& path)
{
    if (kind == kFont) {
        std::filesystem::copy_file("Assets/Calibri.ttf", path);  // the build folder's font
    } else if (kind == kEmpty) {
        std::ofstream(path, std::ios::binary);
    } else if (kind == kFolder) {
        std::filesystem::create_directory(path);
    }
}

}  // namespace

TEST(FontLookup, TheFirstCandidateThatExistsIsReadAndItsFailureReported)
{
    const struct {
        std::vector<Kind> kinds;
        std::string report;  // "" when the fonts open; otherwise after "TTF_OpenFont: ", with
                             // @N standing for candidate N
    } cases[] = {
        {{kFont, kEmpty, kEmpty}, ""},
        {{kMissing, kFont, kEmpty}, ""},
        {{kMissing, kMissing, kFont}, ""},
        {{kEmpty, kFont, kFont}, "Couldn't read @0"},
        {{kFolder, kFont, kFont}, "Couldn't read @0"},
        {{kMissing, kEmpty, kFont}, "Couldn't read @1"},
        {{kMissing, kMissing, kFolder}, "Couldn't read @2"},
        {{kMissing, kMissing, kMissing}, "Couldn't open @0"},
    };
    ASSERT_EQ(TTF_Init(), 0) << TTF_GetError();
    for (const auto& c : cases) {
        const std::string dir = makeTempDir();
        std::vector<std::string> candidates;
        std::string report = c.report;
        for (std::size_t i = 0; i < c.kinds.size(); ++i) {
            candidates.push_back(dir + "/font" + std::to_string(i) + ".ttf");
            make(c.kinds[i], candidates.back());
            const std::string mark = "@" + std::to_string(i);
            if (report.find(mark) != std::string::npos) {
                report.replace(report.find(mark), mark.size(), candidates.back());
            }
        }
        const std::string shown = "case " + std::to_string(&c - cases);
        testing::internal::CaptureStdout();
        openFonts(candidates);
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(printed, report.empty() ? "" : "TTF_OpenFont: " + report + "\n") << shown;
        EXPECT_EQ(app.largeFont != nullptr, report.empty()) << shown;
        EXPECT_EQ(app.smallFont != nullptr, report.empty()) << shown;
        closeFonts();
        std::filesystem::remove_all(dir);
    }
    TTF_Quit();
}
