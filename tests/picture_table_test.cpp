// The picture table says what steers each picture, and the page redraws a picture only when that
// input moves: so every picture's frame must depend on its steering input and on nothing else.
// Its description says the same in words, and the README's table says what the description says,
// with the same numbers. Every front end draws its frames through drawFrame.
#include "scene_window.h"

#include "pictures/pictures.h"
#include "scenes/scenes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

Frame frameAt(const Picture& picture, std::uint32_t ticks, SDL_Point mouse)
{
    SDL_SetRenderDrawColor(app.renderer, 12, 34, 56, 255);  // whatever colour the last frame left
    SDL_RenderClear(app.renderer);
    drawFrame(picture, FrameInputs{ticks, mouse});
    return readFrame();
}

// The words the description uses for each steering, in the enum's order, and the words the
// README's "What steers it" column starts with.
const char* const kSteeringWords[] = {"obraz nieruchomy", "Steruje zegar", "Steruje mysz"};
const char* const kEnglishSteeringWords[] = {"Nothing: a still picture", "The clock:", "The mouse "};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The numbers a text states, each written the same way in either language: superscript digits
// as digits (x²¹ states 21), the groups of thousands run together (Polish "500 000", English
// "500,000"), the decimal mark a point (Polish "6,4", English "6.4"). Signs are left out.
std::set<std::string> numbersIn(std::string text, char groupMark, char decimalMark)
{
    const struct {
        const char* from;
        const char* to;
    } plain[] = {{"⁰", "0"}, {"¹", "1"}, {"²", "2"}, {"³", "3"}, {"⁴", "4"}, {"⁵", "5"}, {"⁶", "6"},
                 {"⁷", "7"}, {"⁸", "8"}, {"⁹", "9"}, {"\xC2\xA0", " "}, {"\xE2\x80\xAF", " "}};
    for (const auto& p : plain) {
        for (std::size_t at = text.find(p.from); at != std::string::npos; at = text.find(p.from, at)) {
            text.replace(at, std::strlen(p.from), p.to);
        }
    }
    std::set<std::string> numbers;
    std::size_t i = 0;
    while (i < text.size()) {
        if (!isDigit(text[i])) {
            ++i;
            continue;
        }
        std::string number;
        while (i < text.size() && isDigit(text[i])) {
            number += text[i++];
        }
        // a group mark followed by exactly three digits continues the number
        while (i + 3 < text.size() && text[i] == groupMark && isDigit(text[i + 1]) &&
               isDigit(text[i + 2]) && isDigit(text[i + 3]) && (i + 4 == text.size() || !isDigit(text[i + 4]))) {
            number += text.substr(i + 1, 3);
            i += 4;
        }
        if (i + 1 < text.size() && text[i] == decimalMark && isDigit(text[i + 1])) {
            number += '.';
            ++i;
            while (i < text.size() && isDigit(text[i])) {
                number += text[i++];
            }
        }
        numbers.insert(number);
    }
    return numbers;
}

std::string joined(const std::set<std::string>& numbers)
{
    std::string text;
    for (const std::string& n : numbers) {
        text += (text.empty() ? "" : " ") + n;
    }
    return text;
}

struct ReadmeRow {
    std::string number, shows, steering;
};

// The rows of the README's table of pictures, "| # | What it shows | What steers it |".
std::vector<ReadmeRow> readmePictureRows()
{
    std::ifstream file(std::string(PLOTNIK_SOURCE_DIR) + "/README.md");
    std::vector<ReadmeRow> rows;
    bool inTable = false;
    for (std::string line; std::getline(file, line);) {
        if (line == "| # | What it shows | What steers it |") {
            inTable = true;
            continue;
        }
        if (!inTable || line.rfind("|---", 0) == 0) {
            continue;
        }
        if (line.rfind("| ", 0) != 0) {
            break;
        }
        std::vector<std::string> cells;
        std::istringstream cellStream(line.substr(2));
        for (std::string cell; std::getline(cellStream, cell, '|');) {
            const std::size_t first = cell.find_first_not_of(' ');
            cells.push_back(first == std::string::npos ? "" : cell.substr(first, cell.find_last_not_of(' ') + 1 - first));
        }
        if (cells.size() == 3) {
            rows.push_back({cells[0], cells[1], cells[2]});
        }
    }
    return rows;
}

}  // namespace

using PictureTable = SceneTest;

TEST_F(PictureTable, EachPictureChangesWithWhatSteersItAndNothingElse)
{
    constexpr std::uint32_t kTicks = 1000;
    constexpr std::uint32_t kLaterTicks = 2000;
    constexpr SDL_Point kMouse{100, 600};
    constexpr SDL_Point kOtherMouse{1270, 400};
    for (const Picture& picture : kPictures) {
        const Frame base = frameAt(picture, kTicks, kMouse);
        const Frame moved = frameAt(picture, kTicks, kOtherMouse);
        const Frame later = frameAt(picture, kLaterTicks, kMouse);
        const int byMouse = moved.differencesIn(base, kWindowWidth, kWindowHeight);
        const int byClock = later.differencesIn(base, kWindowWidth, kWindowHeight);
        EXPECT_EQ(byMouse > 0, picture.steering == kSteeredByMouse) << picture.line << ": " << byMouse << " pixels";
        EXPECT_EQ(byClock > 0, picture.steering == kSteeredByClock) << picture.line << ": " << byClock << " pixels";

        for (int steering = kSteeredByNothing; steering <= kSteeredByMouse; ++steering) {
            EXPECT_EQ(std::strstr(picture.description, kSteeringWords[steering]) != nullptr,
                      steering == picture.steering)
                << picture.line << ": " << picture.description;
        }
    }
}

TEST(PictureTexts, NumbersAreReadTheSameWayInBothLanguages)
{
    const struct {
        const char* text;
        char group, decimal;
        const char* numbers;
    } cases[] = {
        {"liczby od 1 do 500 000, 41 538 pikseli", ' ', ',', "1 41538 500000"},
        {"the numbers 1 to 500,000, 41,538 pixels", ',', '.', "1 41538 500000"},
        {"od 0 do 6,4 co 0,005 (2, 3, 5, 7).", ' ', ',', "0 0.005 2 3 5 6.4 7"},
        {"from 0 to 6.4 in steps of 0.005 (2, 3, 5, 7).", ',', '.', "0 0.005 2 3 5 6.4 7"},
        {"x − x³/3! + … do x²¹/21!, 1280 × 720", ' ', ',', "1280 21 3 720"},
        {"od −2 do prawie 4, 1 200 i 1 2", ' ', ',', "1 1200 2 4"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(joined(numbersIn(c.text, c.group, c.decimal)), c.numbers) << c.text;
    }
}

// A teacher reads the README's table in English and a pupil's screen reader the Polish
// description: both say what steers the picture, and they state the same numbers.
TEST(PictureTexts, TheReadmeTableSaysWhatThePolishDescriptionsSay)
{
    const std::vector<ReadmeRow> rows = readmePictureRows();
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kPictureCount));
    for (int i = 0; i < kPictureCount; ++i) {
        const Picture& picture = kPictures[i];
        const ReadmeRow& row = rows[static_cast<std::size_t>(i)];
        EXPECT_EQ(row.number, picture.answer);
        EXPECT_EQ(row.steering.rfind(kEnglishSteeringWords[picture.steering], 0), 0u)
            << picture.line << ": " << row.steering;
        const std::set<std::string> english = numbersIn(row.shows + " " + row.steering, ',', '.');
        const std::set<std::string> polish = numbersIn(picture.description, ' ', ',');
        EXPECT_EQ(joined(english), joined(polish)) << picture.line;
    }
}

// The frame drawn as the scene routine of the dispatch table draws it, for every picture: the
// table's entry passes the clock and the pointer on as the routine would take them itself.
TEST_F(PictureTable, EveryEntryDrawsWhatItsSceneRoutineDraws)
{
    const FrameInputs inputs{2345, {700, 100}};
    const struct {
        const char* answer;
        void (*scene)();
    } cases[] = {
        {"1", [] { drawTrigFunctionsAt(2345); }},
        {"2", [] { drawLogisticMapAt(700, 100); }},
        {"3", drawBifurcation},
        {"4", [] { drawQuadraticAt(700, 100); }},
        {"5", drawUlamSpiral},
        {"6", [] { drawRotation(phaseFromTicks(2345, kTwoPi)); }},
        {"7", [] { drawSineCosine(phaseFromTicks(2345, kSixPi)); }},
        {"8", [] { drawPhaseShift(phaseFromTicks(2345, kSixPi)); }},
        {"9", drawPrimeGraph},
        {"10", [] { drawComputedSineAt(700); }},
    };
    ASSERT_EQ(std::size(cases), static_cast<std::size_t>(kPictureCount));
    for (const auto& c : cases) {
        const Picture& picture = pictureFor(c.answer);
        ASSERT_STREQ(picture.answer, c.answer);
        testing::internal::CaptureStdout();  // the spiral's console line
        const Frame fromTable = frameAt(picture, inputs.ticks, inputs.mouse);
        const Frame direct = renderFrame(c.scene);
        testing::internal::GetCapturedStdout();
        EXPECT_TRUE(fromTable.pixels == direct.pixels) << picture.line;
    }
}

// The page clears its frame with one fill of the memory the renderer draws into: the same frame
// as the renderer's own clear, whatever the memory held.
TEST_F(PictureTable, ClearingTheFramesMemoryDrawsTheSameFrame)
{
    SDL_Surface* memory = SDL_GetWindowSurface(app.window);
    ASSERT_NE(memory, nullptr) << SDL_GetError();
    ASSERT_EQ(memory->format->BytesPerPixel, 4);
    for (const char* answer : {"4", "7", "9"}) {
        const Picture& picture = pictureFor(answer);
        const FrameInputs inputs{3000, {900, 200}};
        const Frame cleared = frameAt(picture, inputs.ticks, inputs.mouse);
        frameAt(pictureFor("3"), 0, {0, 0});  // another picture's pixels in the memory
        drawFrame(picture, inputs, memory);
        EXPECT_TRUE(readFrame().pixels == cleared.pixels) << picture.line;
    }
}
