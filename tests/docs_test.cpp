// Every link in the README and the docs leads somewhere: each relative link and image to a file of
// the repository (and an anchor to a heading of the page it names), and each link to a frame of
// the page to a frame the page can show, written as the page's "Link do tej klatki" writes it.
#include "menu/frame_link.h"
#include "menu/menu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
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
    const std::string refused = readFrameLink(fragment, link);
    if (!refused.empty()) {
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
