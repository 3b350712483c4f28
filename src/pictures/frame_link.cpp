// Reading and writing links to a picture, with the exporter's ranges for the clock and the mouse.
#include "pictures/frame_link.h"

#include "common/polish_number.h"
#include "pictures/class_code.h"

#include <cstdio>

namespace {

const char* const kLinkForm =
    " Link ma postać #answer=4, a\u00a0zatrzymana klatka #answer=4&mouse=720,240&ticks=1234.";

// Says what is wrong with a link, and how a good one looks; false.
bool badLink(std::string& why, const std::string& what)
{
    why = "Zły link: " + what + "." + kLinkForm;
    return false;
}

// What the link said, in Polish quotation marks.
std::string quoted(const std::string& text)
{
    return "„" + text + "”";
}

// The end of a message about a value out of range: ", a nie „12x”".
std::string notThis(const std::string& value)
{
    return ", a\u00a0nie " + quoted(value);
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Undoes the %XX escapes of an address; false for a broken escape.
bool unescape(const std::string& text, std::string& plain)
{
    plain.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            plain += text[i];
            continue;
        }
        const int high = i + 2 < text.size() ? hexDigit(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? hexDigit(text[i + 2]) : -1;
        if (high < 0 || low < 0) {
            return false;
        }
        plain += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

}  // namespace

bool readFrameLink(const std::string& fragment, FrameLink& link, std::string& why)
{
    const std::string text = !fragment.empty() && fragment[0] == '#' ? fragment.substr(1) : fragment;
    FrameLink read;
    std::string teacher;
    std::string token;
    if (text.empty()) {
        link = read;
        return true;
    }
    bool haveAnswer = false;
    bool haveTicks = false;
    bool haveMouse = false;
    bool haveClass = false;
    bool haveTeacher = false;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('&', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string part = text.substr(start, end - start);
        start = end + 1;
        const std::size_t equals = part.find('=');
        std::string value;
        if (equals == std::string::npos || !unescape(part.substr(equals + 1), value)) {
            return badLink(why, quoted(part) + " nie ma postaci nazwa=wartość");
        }
        const std::string name = part.substr(0, equals);
        bool& seen = name == "answer"       ? haveAnswer
                     : name == "ticks"      ? haveTicks
                     : name == "klasa"      ? haveClass
                     : name == "nauczyciel" ? haveTeacher
                                            : haveMouse;
        if (name != "answer" && name != "ticks" && name != "mouse" && name != "klasa" && name != "nauczyciel") {
            return badLink(why, "nieznany parametr " + quoted(name));
        }
        if (seen) {
            return badLink(why, "parametr " + quoted(name) + " podany dwa razy");
        }
        seen = true;
        if (name == "answer") {
            read.answer = value;
        } else if (name == "ticks" && !parseTicks(value, read.inputs.ticks)) {
            return badLink(why, "ticks przyjmuje od 0 do " + polishNumber(static_cast<std::int64_t>(kMaxTicks)) +
                                    notThis(value));
        } else if (name == "mouse" && !parseMousePosition(value, read.inputs.mouse)) {
            return badLink(why, "mouse przyjmuje X,Y, każde od " + polishNumber(kMinCoordinate) + " do " +
                                    polishNumber(kMaxCoordinate) + notThis(value));
        } else if (name == "klasa" && !readClassCode(value, read.classCode)) {
            return badLink(why, "kod lekcji (klasa) ma " + std::to_string(kClassCodeLength) +
                                    " znaków, liter i\u00a0cyfr" + notThis(value));
        } else if (name == "nauczyciel" && !readTeacherKey(value, teacher, token)) {
            return badLink(why, "parametr „nauczyciel” nie jest kluczem nauczyciela");
        } else if (name == "nauczyciel") {
            read.teacherKey = value;
        }
    }
    // Only a class's keys: the menu, with the class to join or the teacher's key.
    const bool onlyClass = (haveClass || haveTeacher) && !haveAnswer && !haveTicks && !haveMouse;
    if (read.answer.empty() && !onlyClass) {
        return badLink(why, "brak numeru obrazu (answer)");
    }
    read.frozen = haveTicks || haveMouse;
    link = read;
    return true;
}

std::string frozenLink(const std::string& answer, const FrameInputs& inputs)
{
    std::string escapedAnswer;
    for (const char c : answer) {
        const bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           c == '-' || c == '.' || c == '_' || c == '~';
        char escaped[4];
        std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
        escapedAnswer += plain ? std::string(1, c) : std::string(escaped);
    }
    char text[64];
    std::snprintf(text, sizeof text, "&mouse=%d,%d&ticks=%u", inputs.mouse.x, inputs.mouse.y,
                  static_cast<unsigned>(inputs.ticks));
    return "answer=" + escapedAnswer + text;
}

std::string frameFileName(const Picture& picture, const FrameInputs& inputs)
{
    char steered[48] = "";
    if (picture.steering == kSteeredByClock) {
        std::snprintf(steered, sizeof steered, "-t%u", static_cast<unsigned>(inputs.ticks));
    } else if (picture.steering == kSteeredByMouse) {
        std::snprintf(steered, sizeof steered, "-x%d-y%d", inputs.mouse.x, inputs.mouse.y);
    }
    return std::string("plotnik-") + picture.answer + steered + ".png";
}

std::string gifFileName(const Picture& picture, std::uint32_t ticks, int seconds, int fps)
{
    char text[64];
    std::snprintf(text, sizeof text, "-t%u-%ds-%dfps.gif", static_cast<unsigned>(ticks), seconds, fps);
    return std::string("plotnik-") + picture.answer + text;
}
