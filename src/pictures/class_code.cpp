// Class codes, teachers' keys and the subjects of a class.
#include "pictures/class_code.h"

#include <cstring>

namespace {

bool inAlphabet(char c)
{
    return c != '\0' && std::strchr(kCodeAlphabet, c) != nullptr;
}

bool isTokenCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Characters of alphabet, each drawn evenly from random bytes.
std::string drawCharacters(int n, const char* alphabet, int size, const RandomBytes& random)
{
    const int fair = 256 / size * size;  // bytes from here on would favour the first characters
    std::string drawn;
    while (static_cast<int>(drawn.size()) < n) {
        std::uint8_t bytes[16];
        random(bytes, sizeof bytes);
        for (const std::uint8_t b : bytes) {
            if (b < fair && static_cast<int>(drawn.size()) < n) {
                drawn += alphabet[b % size];
            }
        }
    }
    return drawn;
}

}  // namespace

bool readClassCode(const std::string& typed, std::string& code)
{
    std::string read;
    for (const char c : typed) {
        if (c == ' ' || c == '-' || c == '\t') {
            continue;
        }
        if (!inAlphabet(upper(c)) || read.size() == kClassCodeLength) {
            return false;
        }
        read += upper(c);
    }
    if (read.size() != kClassCodeLength) {
        return false;
    }
    code = read;
    return true;
}

bool isTeacherCode(const std::string& text)
{
    return text.size() == kTeacherCodeLength && inAlphabet(text[0]) && inAlphabet(text[1]);
}

bool readTeacherKey(const std::string& key, std::string& teacher, std::string& token)
{
    const std::size_t dot = key.find('.');
    if (dot == std::string::npos || !isTeacherCode(key.substr(0, dot))) {
        return false;
    }
    const std::string secret = key.substr(dot + 1);
    if (secret.size() < kMinTokenLength || secret.size() > kMaxTokenLength) {
        return false;
    }
    for (const char c : secret) {
        if (!isTokenCharacter(c)) {
            return false;
        }
    }
    teacher = key.substr(0, dot);
    token = secret;
    return true;
}

std::string randomCodeCharacters(int n, const RandomBytes& random)
{
    return drawCharacters(n, kCodeAlphabet, kCodeAlphabetSize, random);
}

std::string newClassCode(const std::string& teacher, const RandomBytes& random)
{
    return teacher + randomCodeCharacters(kLessonCodeLength, random);
}

std::string newToken(const RandomBytes& random)
{
    static const char kTokenAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-";
    return drawCharacters(kTokenLength, kTokenAlphabet, sizeof kTokenAlphabet - 1, random);
}

std::string classSubject(const std::string& code, const char* what)
{
    return "plotnik." + code.substr(0, kTeacherCodeLength) + "." + code.substr(kTeacherCodeLength) + "." + what;
}

std::string lessonsSubject(const std::string& teacher, const char* what)
{
    return "plotnik." + teacher + ".*." + what;
}
