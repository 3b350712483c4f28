// A lesson with a class: codes as pupils type them, teachers' keys, what is drawn at random, and
// the subjects the server's configuration binds to a teacher.
#include "pictures/class_code.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

// Random bytes that are the given ones, over and over.
RandomBytes bytesOf(std::vector<std::uint8_t> bytes)
{
    return [bytes, at = std::size_t{0}](std::uint8_t* out, std::size_t count) mutable {
        for (std::size_t i = 0; i < count; ++i, ++at) {
            out[i] = bytes[at % bytes.size()];
        }
    };
}

}  // namespace

TEST(ClassCode, CodesAreReadAsPupilsTypeThem)
{
    const struct {
        const char* typed;
        const char* code;  // "" when refused
    } cases[] = {
        {"K7M3X", "K7M3X"},
        {"k7m3x", "K7M3X"},
        {" k7-m3 x ", "K7M3X"},
        {"K7M3", ""},      // too short
        {"K7M3XX", ""},    // too long
        {"K7O3X", ""},     // O is not in the alphabet (it looks like 0)
        {"K7M0X", ""},
        {"K1M3X", ""},
        {"KIM3X", ""},
        {"KLM3X", ""},
        {"K7M3\xc5\xbb", ""},  // Ż
        {"", ""},
        {"K7M3X\n", ""},
    };
    for (const auto& c : cases) {
        std::string code = "untouched";
        const bool read = readClassCode(c.typed, code);
        EXPECT_EQ(read, std::string(c.code) != "") << c.typed;
        EXPECT_EQ(code, read ? c.code : "untouched") << c.typed;
    }
}

TEST(ClassCode, TeachersKeysAreTheirCodeAndAToken)
{
    const std::string token(32, 'a');
    const struct {
        std::string key;
        bool good;
    } cases[] = {
        {"K7." + token, true},
        {"K7." + std::string(16, '_'), true},
        {"K7." + std::string(64, '-'), true},
        {"K7." + std::string(15, 'a'), false},
        {"K7." + std::string(65, 'a'), false},
        {"k7." + token, false},  // the configuration's account is K7
        {"K70." + token, false},
        {"K7" + token, false},
        {"K7." + token.substr(1) + "+", false},
        {"K7." + token + ".", false},
        {"", false},
    };
    for (const auto& c : cases) {
        std::string teacher = "untouched";
        std::string secret = "untouched";
        EXPECT_EQ(readTeacherKey(c.key, teacher, secret), c.good) << c.key;
        EXPECT_EQ(teacher, c.good ? "K7" : "untouched") << c.key;
        EXPECT_EQ(secret, c.good ? c.key.substr(3) : "untouched") << c.key;
    }
}

TEST(ClassCode, DrawnCodesAndTokensAreFairAndReadBack)
{
    // Bytes from 248 on would favour the alphabet's first characters: they are drawn again.
    EXPECT_EQ(randomCodeCharacters(3, bytesOf({255, 248, 0, 30, 29})), "2ZY");
    EXPECT_EQ(newClassCode("K7", bytesOf({250, 9, 10, 11})), "K7BCD");
    std::set<char> seen;
    std::vector<std::uint8_t> every(256);
    for (int i = 0; i < 256; ++i) {
        every[i] = static_cast<std::uint8_t>(i);
    }
    for (const char c : randomCodeCharacters(248, bytesOf(every))) {
        seen.insert(c);
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(kCodeAlphabetSize));

    const std::string code = newClassCode("K7", bytesOf(every));
    std::string read;
    EXPECT_TRUE(readClassCode(code, read));
    EXPECT_EQ(read, code);
    const std::string token = newToken(bytesOf(every));
    EXPECT_EQ(token.size(), static_cast<std::size_t>(kTokenLength));
    std::string teacher;
    std::string secret;
    EXPECT_TRUE(readTeacherKey("K7." + token, teacher, secret)) << token;
}

TEST(ClassCode, SubjectsBindALessonToItsTeacher)
{
    EXPECT_EQ(classSubject("K7M3X", "state"), "plotnik.K7.M3X.state");
    EXPECT_EQ(classSubject("K7M3X", "answer"), "plotnik.K7.M3X.answer");
    EXPECT_EQ(lessonsSubject("K7", "answer"), "plotnik.K7.*.answer");
    EXPECT_EQ(lessonsSubject("*", "state"), "plotnik.*.*.state");
}
