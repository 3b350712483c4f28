// Links to a picture: what opens live, what is a frozen frame, and what is refused.
#include "pictures/frame_link.h"

#include <gtest/gtest.h>

#include <string>

TEST(FrameLink, GoodLinksOpenThePictureTheyName)
{
    const struct {
        const char* fragment;
        const char* answer;
        bool frozen;
        std::uint32_t ticks;
        int x, y;
    } cases[] = {
        {"", "", false, 0, 0, 0},
        {"#", "", false, 0, 0, 0},
        {"#answer=4", "4", false, 0, 0, 0},
        {"answer=10", "10", false, 0, 0, 0},
        {"#answer=4&mouse=720,240&ticks=1234", "4", true, 1234, 720, 240},
        {"#ticks=4294967295&answer=1", "1", true, 4294967295u, 0, 0},
        {"#answer=2&mouse=-32768,32767", "2", true, 0, -32768, 32767},
        {"#answer=%31%30", "10", false, 0, 0, 0},
        {"#answer=01", "01", false, 0, 0, 0},  // the console's rule: it draws picture 1
    };
    for (const auto& c : cases) {
        FrameLink link;
        link.answer = "left over";
        std::string why;
        EXPECT_TRUE(readFrameLink(c.fragment, link, why)) << c.fragment << ": " << why;
        EXPECT_EQ(link.answer, c.answer) << c.fragment;
        EXPECT_EQ(link.frozen, c.frozen) << c.fragment;
        EXPECT_EQ(link.inputs.ticks, c.ticks) << c.fragment;
        EXPECT_EQ(link.inputs.mouse.x, c.x) << c.fragment;
        EXPECT_EQ(link.inputs.mouse.y, c.y) << c.fragment;
    }
}

TEST(FrameLink, BadLinksAreExplainedAndChangeNothing)
{
    const struct {
        const char* fragment;
        const char* saying;
    } cases[] = {
        {"#answer=4&mouse=99999,0",
         "mouse przyjmuje X,Y, każde od \u221232\u00a0768 do 32\u00a0767, a\u00a0nie „99999,0”"},
        {"#answer=4&mouse=720", "a\u00a0nie „720”"},
        {"#answer=4&mouse=1,2,3", "a\u00a0nie „1,2,3”"},
        {"#answer=4&ticks=-1", "ticks przyjmuje od 0 do 4\u00a0294\u00a0967\u00a0295, a\u00a0nie „-1”"},
        {"#answer=4&ticks=4294967296", "a\u00a0nie „4294967296”"},
        {"#answer=4&ticks=", "a\u00a0nie „”"},
        {"#answer=4&ticks=1e3", "a\u00a0nie „1e3”"},
        {"#answer=", "brak numeru obrazu"},
        {"#mouse=1,1", "brak numeru obrazu"},
        {"#garbage", "„garbage” nie ma postaci nazwa=wartość"},
        {"#answer=4&", "„” nie ma postaci"},
        {"#answer=%4", "„answer=%4” nie ma postaci"},
        {"#answer=4&answer=5", "parametr „answer” podany dwa razy"},
        {"#answer=4&zoom=2", "nieznany parametr „zoom”"},
        {"#klasa=K7M3", "kod lekcji (klasa) ma 5 znaków, liter i\u00a0cyfr, a\u00a0nie „K7M3”"},
        {"#klasa=K7O3X", "a\u00a0nie „K7O3X”"},
        {"#klasa=K7M3X&klasa=K7M3X", "parametr „klasa” podany dwa razy"},
        {"#klasa=K7M3X&ticks=5", "brak numeru obrazu"},
        {"#nauczyciel=K7.short", "parametr „nauczyciel” nie jest kluczem nauczyciela"},
        {"#nauczyciel=", "nie jest kluczem"},
        {"#klasa=K7M3X&answer=", "brak numeru obrazu"},
    };
    for (const auto& c : cases) {
        FrameLink link;
        link.answer = "untouched";
        std::string message;
        EXPECT_FALSE(readFrameLink(c.fragment, link, message)) << c.fragment;
        EXPECT_EQ(message.rfind("Zły link: ", 0), 0u) << c.fragment << ": " << message;
        EXPECT_NE(message.find(c.saying), std::string::npos) << c.fragment << ": " << message;
        EXPECT_EQ(link.answer, "untouched") << c.fragment;
    }
}

TEST(FrameLink, AFrameLinkReadsBackAsTheSameFrame)
{
    const FrameLink frames[] = {
        {"4", true, {1234, {720, 240}}, "", ""},
        {"10", true, {4294967295u, {-32768, 32767}}, "", ""},
        {"a b&c=d%#\xc5\xbc", true, {0, {0, 0}}, "", ""},  // answers from links may be any text
    };
    for (const FrameLink& frame : frames) {
        const std::string link = frozenLink(frame.answer, frame.inputs);
        FrameLink read;
        std::string why;
        EXPECT_TRUE(readFrameLink("#" + link, read, why)) << link << ": " << why;
        EXPECT_EQ(read.answer, frame.answer) << link;
        EXPECT_TRUE(read.frozen) << link;
        EXPECT_EQ(read.inputs, frame.inputs) << link;
    }
    EXPECT_EQ(frozenLink(frames[0].answer, frames[0].inputs), "answer=4&mouse=720,240&ticks=1234");
}

// A class's keys ride in the fragment beside a picture's, or alone on the menu; they never change
// which frame is shown.
TEST(FrameLink, AClassesKeysAreReadBesideThePicture)
{
    const std::string key = "K7.abcdefghijklmnopqrstuvwxyz_-0123";
    const struct {
        std::string fragment;
        const char* answer;
        bool frozen;
        const char* code;
        std::string teacherKey;
    } cases[] = {
        {"#klasa=K7M3X", "", false, "K7M3X", ""},
        {"#klasa=k7-m3x", "", false, "K7M3X", ""},
        {"#klasa=k7%20m3x", "", false, "K7M3X", ""},
        {"#nauczyciel=" + key, "", false, "", key},
        {"#answer=4&klasa=K7M3X", "4", false, "K7M3X", ""},
        {"#answer=4&mouse=720,240&ticks=0&klasa=K7M3X", "4", true, "K7M3X", ""},
        {"#nauczyciel=" + key + "&answer=7", "7", false, "", key},
        {"#answer=7", "7", false, "", ""},
    };
    for (const auto& c : cases) {
        FrameLink link;
        std::string why;
        EXPECT_TRUE(readFrameLink(c.fragment, link, why)) << c.fragment << ": " << why;
        EXPECT_EQ(link.answer, c.answer) << c.fragment;
        EXPECT_EQ(link.frozen, c.frozen) << c.fragment;
        EXPECT_EQ(link.classCode, c.code) << c.fragment;
        EXPECT_EQ(link.teacherKey, c.teacherKey) << c.fragment;
    }
}

// Saved frames and GIFs are named by the picture the answer selects and what steers it; whatever
// text a link's answer holds, only the matched picture's own answer goes into the name.
TEST(FrameLink, SavedFilesAreNamedByThePictureAndWhatSteersIt)
{
    const struct {
        const char* answer;
        FrameInputs inputs;
        const char* png;
    } cases[] = {
        {"7", {2345, {640, 360}}, "plotnik-7-t2345.png"},  // a clock picture: the pointer plays no part
        {"1", {4294967295u, {0, 0}}, "plotnik-1-t4294967295.png"},
        {"4", {1234, {720, 240}}, "plotnik-4-x720-y240.png"},  // a mouse picture: the clock plays none
        {"4", {0, {520, -40}}, "plotnik-4-x520-y-40.png"},
        {"10", {0, {-32768, 32767}}, "plotnik-10-x-32768-y32767.png"},
        {"3", {999, {1, 2}}, "plotnik-3.png"},  // a still picture
        {"01", {5, {0, 0}}, "plotnik-1-t5.png"},
        {"../../etc/passwd", {5, {0, 0}}, "plotnik-1-t5.png"},
        {"a b&c=d%#\xc5\xbc", {6, {0, 0}}, "plotnik-1-t6.png"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(frameFileName(pictureFor(c.answer), c.inputs), c.png) << c.answer;
    }
    EXPECT_EQ(gifFileName(pictureFor("7"), 2345, 2, 25), "plotnik-7-t2345-2s-25fps.gif");
    EXPECT_EQ(gifFileName(pictureFor("6"), 4294967295u, 10, 10), "plotnik-6-t4294967295-10s-10fps.gif");
    EXPECT_EQ(gifFileName(pictureFor("/x\\y:"), 0, 1, 25), "plotnik-1-t0-1s-25fps.gif");
    // Every picture's names hold only letters, digits, '-' and '.', even at the inputs' extremes.
    for (const Picture& picture : kPictures) {
        for (const FrameInputs& inputs : {FrameInputs{0, {kMinCoordinate, kMinCoordinate}},
                                          FrameInputs{4294967295u, {kMaxCoordinate, kMaxCoordinate}}}) {
            for (const std::string& name : {frameFileName(picture, inputs), gifFileName(picture, inputs.ticks, 10, 25)}) {
                EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-."), std::string::npos) << name;
                EXPECT_EQ(name.rfind(std::string("plotnik-") + picture.answer, 0), 0u) << name;
            }
        }
    }
}
