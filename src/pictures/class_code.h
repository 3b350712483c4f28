// A lesson with a class, as links and the class server name it. A class's code is five characters
// from an alphabet without look-alikes (no 0 and O, no 1, I and L): the first two are the
// teacher's own, fixed in the server's configuration with the teacher's account, and the last
// three are drawn when the lesson starts. A teacher's key is the teacher's two characters, a dot
// and a secret token; the server keeps only the token's bcrypt hash.
// Plain C++ without the media library: the page, its links and plotnik-klasa share it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

constexpr char kCodeAlphabet[] = "23456789ABCDEFGHJKMNPQRSTUVWXYZ";
constexpr int kCodeAlphabetSize = sizeof kCodeAlphabet - 1;
constexpr int kTeacherCodeLength = 2;
constexpr int kLessonCodeLength = 3;
constexpr int kClassCodeLength = kTeacherCodeLength + kLessonCodeLength;
constexpr int kTokenLength = 32;  // characters of [A-Za-z0-9_-]: 192 bits
constexpr int kMinTokenLength = 16;
constexpr int kMaxTokenLength = 64;

// A source of random bytes: fills the buffer, as getrandom or crypto.getRandomValues do.
using RandomBytes = std::function<void(std::uint8_t* bytes, std::size_t count)>;

// A class code as a pupil types it: any case, with blanks or hyphens anywhere ("k7m 3x",
// "K7-M3X"), written back as the page shows it ("K7M3X"). False for anything else; code is then
// left alone.
bool readClassCode(const std::string& typed, std::string& code);

// A teacher's two characters, as the server's configuration and a class code begin with them.
bool isTeacherCode(const std::string& text);

// A teacher's key, "K7.<token>": false unless it is a teacher's code, a dot and a token of 16 to 64
// characters from [A-Za-z0-9_-]; teacher and token are then left alone.
bool readTeacherKey(const std::string& key, std::string& teacher, std::string& token);

// n characters of the code alphabet, each drawn evenly (bytes that would favour some are drawn
// again).
std::string randomCodeCharacters(int n, const RandomBytes& random);

// A class code for a lesson of this teacher: the teacher's two characters and three drawn.
std::string newClassCode(const std::string& teacher, const RandomBytes& random);

// A teacher's secret token: kTokenLength characters of [A-Za-z0-9_-].
std::string newToken(const RandomBytes& random);

// The subjects of a class on the message server: the teacher publishes the class's state, pupils
// ask it of the teacher when they join (hello, answered by the teacher's page) and publish their
// answers. Every subject is plotnik.<teacher>.<lesson>.<what>, so the server's configuration binds a
// teacher's account to plotnik.<teacher>.*.
std::string classSubject(const std::string& code, const char* what);

// The subjects of every lesson of a teacher, or of every teacher with "*": plotnik.K7.*.state.
std::string lessonsSubject(const std::string& teacher, const char* what);
