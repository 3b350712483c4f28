// Numbers in the Polish messages, written as docs/polish-vocabulary.md says: the minus sign, not a
// hyphen, and from five digits on the thousands in groups, joined by a non-breaking space so that
// a line never breaks inside a number.
#pragma once

#include <cstdint>
#include <string>

// "−32 768" for -32768, "4 294 967 295" for 4294967295, "1280" for 1280.
std::string polishNumber(std::int64_t value);

// The same for a number already written with a decimal comma, as formatParameter writes it:
// "-0,5000" gives "−0,5000", "-12345,5" gives "−12 345,5"; the decimals are left as they are.
std::string polishNumber(const std::string& written);
