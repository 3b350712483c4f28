// Any text as the page's link fragment, read as the page reads it: a good link names a picture,
// keeps its clock and pointer in range, and the link written back from it reads as the same; or
// it is the menu, with a class's keys or none. A class's code is read back as itself, and a
// teacher's key is one.
#include "pictures/class_code.h"
#include "pictures/frame_link.h"
#include "pictures/pictures.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string fragment(reinterpret_cast<const char*>(data), size);
    FrameLink link;
    link.answer = "untouched";
    std::string message;
    if (!readFrameLink(fragment, link, message)) {
        if (message.rfind("Zły link: ", 0) != 0 || link.answer != "untouched") {
            std::abort();  // a refusal says why and changes nothing
        }
        return 0;
    }
    std::string code;
    std::string teacher;
    std::string token;
    if ((!link.classCode.empty() && (!readClassCode(link.classCode, code) || code != link.classCode)) ||
        (!link.teacherKey.empty() && !readTeacherKey(link.teacherKey, teacher, token))) {
        std::abort();
    }
    if (link.answer.empty()) {
        if (link.frozen) {
            std::abort();  // a frame needs a picture
        }
        return 0;  // the menu
    }
    const Picture& picture = pictureFor(link.answer);
    if (&picture < kPictures || &picture >= kPictures + kPictureCount) {
        std::abort();
    }
    const SDL_Point m = link.inputs.mouse;
    if (m.x < kMinCoordinate || m.x > kMaxCoordinate || m.y < kMinCoordinate || m.y > kMaxCoordinate) {
        std::abort();
    }
    FrameLink again;
    if (!readFrameLink("#" + frozenLink(link.answer, link.inputs), again, message) || again.answer != link.answer ||
        !again.frozen || again.inputs != link.inputs) {
        std::abort();
    }
    return 0;
}
