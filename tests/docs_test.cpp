// Every link in the README and the docs leads somewhere: each relative link and image to a file of
// the repository (and an anchor to a heading of the page it names), and each link to a frame of
// the page to a frame the page can show, written as the page's "Link do tej klatki" writes it.
// The teacher's guide, the page and the page's messages are set as Polish is set.
#include "pictures/frame_link.h"
#include "pictures/pictures.h"
#include "pictures/parameters.h"
#include "web/page_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <regex>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kSources = PLOTNIK_SOURCE_DIR;

std::string readText(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// README.md and every Markdown file under docs/, in a fixed order.
std::vector<fs::path> markdownFiles()
{
    std::vector<fs::path> files{kSources / "README.md"};
    for (const auto& entry : fs::recursive_directory_iterator(kSources / "docs")) {
        if (entry.is_regular_file() && entry.path().extension() == ".md") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin() + 1, files.end());
    return files;
}

// The text without its fenced code blocks and code spans, where brackets are no links.
std::string withoutCode(const std::string& text)
{
    std::string prose;
    bool fenced = false;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("```", 0) == 0) {
            fenced = !fenced;
            continue;
        }
        if (fenced) {
            continue;
        }
        bool inSpan = false;
        for (const char c : line) {
            if (c == '`') {
                inSpan = !inSpan;
            } else if (!inSpan) {
                prose += c;
            }
        }
        prose += '\n';
    }
    return prose;
}

// The anchor a heading gets: lower case, spaces as hyphens, letters, digits, '-' and '_' kept and
// every other sign left out. Polish letters are letters; other letters outside ASCII are not
// expected in headings.
std::string anchorOf(const std::string& heading)
{
    static const char* const kPolishCapitals[][2] = {{"Ą", "ą"}, {"Ć", "ć"}, {"Ę", "ę"}, {"Ł", "ł"}, {"Ń", "ń"},
                                                     {"Ó", "ó"}, {"Ś", "ś"}, {"Ź", "ź"}, {"Ż", "ż"}};
    static const char* const kPolishSmall[] = {"ą", "ć", "ę", "ł", "ń", "ó", "ś", "ź", "ż"};
    std::string anchor;
    std::size_t i = 0;
    while (i < heading.size()) {
        const unsigned char c = static_cast<unsigned char>(heading[i]);
        if (c < 0x80) {
            if (std::isalnum(c) != 0 || c == '-' || c == '_') {
                anchor += static_cast<char>(std::tolower(c));
            } else if (c == ' ') {
                anchor += '-';
            }
            ++i;
            continue;
        }
        const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        const std::string letter = heading.substr(i, length);
        for (const auto& capital : kPolishCapitals) {
            if (letter == capital[0]) {
                anchor += capital[1];
            }
        }
        for (const char* small : kPolishSmall) {
            if (letter == small) {
                anchor += letter;
            }
        }
        i += length;
    }
    return anchor;
}

// The anchors of a Markdown file's headings; a repeated heading gets "-1", "-2", ...
std::vector<std::string> anchorsIn(const std::string& text)
{
    std::vector<std::string> anchors;
    std::istringstream lines(text);
    bool fenced = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("```", 0) == 0) {
            fenced = !fenced;
        }
        const std::size_t hashes = line.find_first_not_of('#');
        if (fenced || hashes == 0 || hashes == std::string::npos || line[hashes] != ' ') {
            continue;
        }
        const std::string anchor = anchorOf(line.substr(hashes + 1));
        std::string unique = anchor;
        for (int n = 1; std::find(anchors.begin(), anchors.end(), unique) != anchors.end(); ++n) {
            unique = anchor + "-" + std::to_string(n);
        }
        anchors.push_back(unique);
    }
    return anchors;
}

// What is wrong with the links of one file: a relative link or image whose file is missing, or
// whose anchor names no heading there. Links to other sites are not followed.
std::vector<std::string> brokenLinks(const fs::path& file, const std::string& text)
{
    std::vector<std::string> broken;
    const std::string prose = withoutCode(text);
    for (std::size_t at = prose.find("]("); at != std::string::npos; at = prose.find("](", at + 2)) {
        const std::size_t end = prose.find_first_of(") \n", at + 2);
        const std::string target = prose.substr(at + 2, end - at - 2);
        if (target.rfind("http://", 0) == 0 || target.rfind("https://", 0) == 0 || target.rfind("mailto:", 0) == 0) {
            continue;
        }
        const std::size_t hash = target.find('#');
        const std::string path = target.substr(0, hash);
        const fs::path linked = file.parent_path() / path;
        if (!path.empty() && !fs::exists(linked)) {
            broken.push_back(target + ": no such file");
            continue;
        }
        if (hash != std::string::npos) {
            const std::string anchor = target.substr(hash + 1);
            const std::vector<std::string> anchors = anchorsIn(path.empty() ? text : readText(linked));
            if (std::find(anchors.begin(), anchors.end(), anchor) == anchors.end()) {
                broken.push_back(target + ": no such heading");
            }
        }
    }
    return broken;
}

// The links to the page's frames in a text: what follows "index.html#", up to a space, a
// backtick, a bracket or the end of the line.
std::vector<std::string> frameLinksIn(const std::string& text)
{
    std::vector<std::string> links;
    const std::string start = "index.html#";
    for (std::size_t at = text.find(start); at != std::string::npos; at = text.find(start, at + 1)) {
        const std::size_t from = at + start.size();
        const std::size_t end = text.find_first_of(" `)]>|\"'\n", from);
        links.push_back(text.substr(from, end - from));
    }
    return links;
}

// What is wrong with one link to a frame: a link the page refuses, a picture the menu has not,
// or a frozen frame not written as the page's own link to it.
std::string wrongFrameLink(const std::string& fragment)
{
    FrameLink link;
    std::string refused;
    if (!readFrameLink(fragment, link, refused)) {
        return refused;
    }
    if (std::string(pictureFor(link.answer).answer) != link.answer) {
        return "no picture " + link.answer;
    }
    if (link.frozen && frozenLink(link.answer, link.inputs) != fragment) {
        return "the page writes it " + frozenLink(link.answer, link.inputs);
    }
    return "";
}

const std::string kNoBreak = "\u00a0";

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool endsWith(const std::string& text, std::size_t end, const std::string& tail)
{
    return end >= tail.size() && text.compare(end - tail.size(), tail.size(), tail) == 0;
}

// Whether the character before `at` may begin a word: the text's start, a space, an opening
// bracket or quotation mark, bold's asterisk.
bool wordStartsAt(const std::string& text, std::size_t at)
{
    return at == 0 || std::string(" \n(*").find(text[at - 1]) != std::string::npos ||
           endsWith(text, at, kNoBreak) || endsWith(text, at, "„");
}

// What Polish typesetting would not print in a text: a breakable space after a one-letter word,
// inside a grouped number, between a number and its unit or around ×, or before a dash; ASCII
// quotation marks, a hyphen for a minus, and a number of five digits or more not grouped.
std::vector<std::string> typesettingFaults(const std::string& text)
{
    std::vector<std::string> faults;
    const auto found = [&](std::size_t at, const std::string& what) {
        faults.push_back(what + " in „" + text.substr(at < 20 ? 0 : at - 20, 40) + "”");
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const bool breaks = next == ' ' || next == '\n';
        if (std::string("wzioauWZIOAU").find(c) != std::string::npos && wordStartsAt(text, i) && breaks) {
            found(i, "a line may break after a one-letter word");
        } else if (c == '"' || c == '\'') {
            found(i, "an ASCII quotation mark");
        } else if (c == '-' && isDigit(next) && wordStartsAt(text, i)) {
            found(i, "a hyphen for a minus");
        } else if (isDigit(c) && next == ' ') {
            const std::string after = text.substr(i + 2, 4);
            const bool group = after.size() >= 3 && isDigit(after[0]) && isDigit(after[1]) && isDigit(after[2]) &&
                               (after.size() == 3 || !isDigit(after[3]));
            static const std::regex kUnit("^(s|ms|kB|MB|%)([^A-Za-z\x80-\xff]|$)");
            const bool unit = std::regex_search(after, kUnit);
            if (group || unit || after.rfind("×", 0) == 0) {
                found(i, "a line may break inside a number or before its unit");
            }
        } else if (c == ' ' && text.compare(i + 1, std::string("– ").size(), "– ") == 0 && i > 0 &&
                   text[i - 1] != ' ' && text[i - 1] != '|') {
            found(i, "a line may break before a dash");
        } else if (isDigit(c) && (i == 0 || !isDigit(text[i - 1]))) {
            std::size_t end = i;
            while (end < text.size() && isDigit(text[end])) {
                ++end;
            }
            if (end - i >= 5) {
                found(i, "a number of five digits or more not grouped");
            }
        }
        if (c == ' ' && text.compare(i + 1, std::string("× ").size(), "× ") == 0 && i > 0 && isDigit(text[i - 1])) {
            found(i, "a line may break inside a number or before its unit");
        }
    }
    return faults;
}

// The guide's prose: no code blocks or headings (whose words make their anchors), code spans as
// a sign that is no word.
std::string guideProse(const std::string& markdown)
{
    std::string prose;
    std::istringstream lines(markdown);
    bool previousBlank = true;
    bool inCode = false;
    for (std::string line; std::getline(lines, line);) {
        inCode = line.rfind("    ", 0) == 0 && (previousBlank || inCode);
        previousBlank = line.empty();
        if (!inCode && line.rfind("#", 0) != 0) {
            prose += std::regex_replace(line, std::regex("`[^`]*`"), "@") + "\n";
        }
    }
    return prose;
}

// What the page shows as text: its text between the tags, and the titles and labels of its
// elements; what a message quotes from a link or a field („…”) is left out.
std::string pageText(const std::string& html)
{
    std::string text;
    for (std::size_t at = 0; at < html.size();) {
        const std::size_t tag = html.find('<', at);
        text += html.substr(at, tag - at);
        if (tag == std::string::npos) {
            break;
        }
        const std::size_t end = html.find('>', tag);
        const std::string inside = html.substr(tag, end - tag);
        std::smatch shown;
        static const std::regex kShownAttribute("(title|aria-label)=\"([^\"]*)\"");
        for (auto it = inside.cbegin(); std::regex_search(it, inside.cend(), shown, kShownAttribute); it = shown[0].second) {
            text += "\n" + shown[2].str() + "\n";
        }
        at = end + 1;
    }
    return std::regex_replace(text, std::regex("&nbsp;"), kNoBreak);
}

std::string withoutQuoted(const std::string& message)
{
    return std::regex_replace(message, std::regex("„[^”]*”"), "„”");
}

}  // namespace

TEST(DocsLinks, BrokenLinksAreFound)
{
    const fs::path file = kSources / "docs" / "example.md";
    const struct {
        const char* text;
        const char* broken;  // the first problem found, "" for none
    } cases[] = {
        {"See [the front page](../README.md) and ![1](gallery/01-trig-functions.png).", ""},
        {"See [nothing](nothing.md).", "nothing.md: no such file"},
        {"# Klawisze i sterowanie\nSee [keys](#klawisze-i-sterowanie).", ""},
        {"# Łódź: obraz 7 – sinus\n[x](#łódź-obraz-7--sinus)", ""},
        {"# Twice\n# Twice\n[x](#twice-1)", ""},
        {"# Keys\nSee [keys](#no-keys).", "#no-keys: no such heading"},
        {"[x](../README.md#no-such-heading)", "../README.md#no-such-heading: no such heading"},
        {"```\n[x](nothing.md)\n```\n`[x](nothing.md)` [y](https://example.org/nothing.md)", ""},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> broken = brokenLinks(file, c.text);
        EXPECT_EQ(broken.empty() ? "" : broken.front(), c.broken) << c.text;
    }
}

TEST(DocsLinks, EveryLinkInTheReadmeAndTheDocsLeadsToAFile)
{
    int links = 0;
    for (const fs::path& file : markdownFiles()) {
        const std::string text = readText(file);
        for (const std::string& broken : brokenLinks(file, text)) {
            ADD_FAILURE() << file.lexically_relative(kSources).string() << ": " << broken;
        }
        const std::string prose = withoutCode(text);
        for (std::size_t at = prose.find("]("); at != std::string::npos; at = prose.find("](", at + 2)) {
            ++links;
        }
    }
    EXPECT_GT(links, 10);  // the gallery alone has ten pictures
}

TEST(DocsLinks, FrameLinksAreFramesThePageShows)
{
    const struct {
        const char* fragment;
        bool good;
    } cases[] = {
        {"answer=4", true},
        {"answer=7&mouse=0,0&ticks=565", true},
        {"answer=7&ticks=565", false},  // the page's own link names the mouse too
        {"answer=11", false},
        {"answer=4&mouse=720,240&ticks=x", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(wrongFrameLink(c.fragment).empty(), c.good) << c.fragment;
    }

    int frames = 0;
    for (const fs::path& file : markdownFiles()) {
        for (const std::string& fragment : frameLinksIn(readText(file))) {
            ++frames;
            EXPECT_EQ(wrongFrameLink(fragment), "") << file.lexically_relative(kSources).string() << ": " << fragment;
        }
    }
    EXPECT_GT(frames, 0);
}

TEST(PolishTypesetting, FaultsAreFound)
{
    const struct {
        const char* text;
        int faults;
    } cases[] = {
        {"obraz w\u00a0oknie 1280\u00a0×\u00a0720, a\u00a0(w\u00a0nim) „1.00 Hz”\u00a0– od \u22122 do 41\u00a0538, 2,3\u00a0s", 0},
        {"Trawa rośnie, 1 krok, 9 są, 2 obroty, 1280 px", 0},
        {"obraz w oknie", 1},
        {"Oto (z nim) i\nto", 2},
        {"W tym", 1},
        {"od -2 do 5", 1},
        {"plik plotnik-7-t3515.png", 0},  // a hyphen inside a name
        {"o 'x' i \"y\"", 6},
        {"500 000 i 4294967295", 3},
        {"2,3 s, 360 ms, 1280 × 720", 4},
        {"koniec – dalej | – |", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(static_cast<int>(typesettingFaults(c.text).size()), c.faults) << c.text;
    }
    EXPECT_EQ(guideProse("# Klawisze i przyciski\nTo `a b` i\u00a0to.\n\n    kod i kod\n"), "To @ i\u00a0to.\n\n");
    EXPECT_EQ(pageText("<p title=\"w domu\">Ala&nbsp;i <b>kot</b></p>"), "\nw domu\nAla\u00a0i kot");
    EXPECT_EQ(withoutQuoted("a\u00a0nie „-1”, „x y”"), "a\u00a0nie „”, „”");
}

// The guide and the page: every line-breaking rule and sign of Polish typesetting holds.
TEST(PolishTypesetting, TheGuideAndThePageAreSetAsPolishIsSet)
{
    const struct {
        const char* file;
        std::string (*text)(const std::string&);
    } texts[] = {
        {"docs/pl/przewodnik-nauczyciela.md", guideProse},
        {"src/web/index.html", pageText},
    };
    for (const auto& t : texts) {
        const std::string text = t.text(readText(kSources / t.file));
        EXPECT_GT(text.size(), 1000u) << t.file;
        for (const std::string& fault : typesettingFaults(text)) {
            ADD_FAILURE() << t.file << ": " << fault;
        }
    }
}

// The page's messages, from every kind of refusal: set as Polish is set, whatever they quote.
TEST(PolishTypesetting, ThePagesMessagesAreSetAsPolishIsSet)
{
    std::vector<std::string> messages;
    for (const char* fragment : {"#answer=4&mouse=99999,0", "#answer=4&ticks=-1", "#garbage", "#answer=4&zoom=2",
                                 "#answer=4&answer=5", "#mouse=1,1", "#klasa=K7M3", "#nauczyciel=K7.x"}) {
        FrameLink link;
        std::string why;
        EXPECT_FALSE(readFrameLink(fragment, link, why)) << fragment;
        messages.push_back(why);
    }
    for (const char* answer : {"1", "2", "4", "7", "10"}) {
        const int count = pictureFor(answer).parameterCount;
        const Parameter* parameters = pictureFor(answer).parameters;
        for (int i = 0; i < count; ++i) {
            for (const char* typed : {"x y", "-99999"}) {
                FrameInputs inputs{4321, {-300, 900}};
                std::string why;
                EXPECT_FALSE(setParameter(parameters[i], typed, inputs, why)) << typed;
                messages.push_back(why);
            }
        }
    }
    const struct {
        const char* answer;
        std::uint32_t start;
        int seconds, fps;
        double speed;
    } recordings[] = {
        {"4", 0, 1, 25, 1.0}, {"7", 0, 3, 25, 1.0}, {"7", 0, 1, 30, 1.0}, {"7", 0, 1, 25, 0.33},
        {"1", 4294967295u, 1, 10, 1.0},
    };
    for (const auto& r : recordings) {
        Recording recording;
        std::string why;
        EXPECT_FALSE(beginRecording(recording, pictureFor(r.answer), r.start, r.seconds, r.fps, r.speed, why));
        messages.push_back(why);
        endRecording(recording);
    }
    for (const std::string& message : messages) {
        EXPECT_NE(message, "");
        for (const std::string& fault : typesettingFaults(withoutQuoted(message))) {
            ADD_FAILURE() << message << ": " << fault;
        }
    }
}
