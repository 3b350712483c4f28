// Any bytes as the console's standard input, answers read from it as the menu reads them until
// the input ends: each answer is one token without white space, picks one of the ten pictures,
// and the end of input leaves the last answer as it was.
#include "console/program.h"
#include "pictures/pictures.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream in(text);
    std::string answer = "before";
    std::size_t read = 0;
    while (readAnswer(in, answer)) {
        if (answer.empty()) {
            std::abort();
        }
        for (const char c : answer) {
            if (std::isspace(static_cast<unsigned char>(c)) != 0) {
                std::abort();
            }
        }
        // The picture whose answer it is, exactly; anything else is the first picture.
        const Picture& picture = pictureFor(answer);
        bool known = false;
        for (const Picture& p : kPictures) {
            known = known || answer == p.answer;
        }
        if (known ? answer != picture.answer : &picture != &kPictures[0]) {
            std::abort();
        }
        read += answer.size();
        if (read > size) {
            std::abort();
        }
    }
    const std::string last = answer;
    if (readAnswer(in, answer) || answer != last) {
        std::abort();  // the end of input stays the end, and changes nothing
    }
    return 0;
}
