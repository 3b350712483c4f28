// The minus sign and the groups of thousands of the Polish messages.
#include "common/polish_number.h"

#include <algorithm>

namespace {

constexpr const char* kMinusSign = "\u2212";
constexpr const char* kNoBreakSpace = "\u00a0";
constexpr std::size_t kGroup = 3;
constexpr std::size_t kFewestGrouped = 5;  // 1280 stays together, 41 538 is grouped

}  // namespace

std::string polishNumber(const std::string& written)
{
    const bool negative = !written.empty() && written[0] == '-';
    const std::string magnitude = written.substr(negative ? 1 : 0);
    const std::size_t whole = std::min(magnitude.find_first_not_of("0123456789"), magnitude.size());
    std::string digits = magnitude.substr(0, whole);
    if (whole >= kFewestGrouped) {
        for (std::size_t end = whole; end > kGroup; end -= kGroup) {
            digits.insert(end - kGroup, kNoBreakSpace);
        }
    }
    return (negative ? kMinusSign : "") + digits + magnitude.substr(whole);
}

std::string polishNumber(std::int64_t value)
{
    return polishNumber(std::to_string(value));
}
