// The readout of two values that pictures 2 and 4 show under their titles.
#include "scenes/scene_layout.h"

#include <gtest/gtest.h>

#include <string>

// The values are printed as the floats the scenes hold: 1.00005f is 1.0000499..., so it shows as
// 1.0000, where the decimal 1.00005 would round up to 1.0001.
TEST(TwoValueReadout, ShowsEachValueAsItsFloat)
{
    char text[32];
    formatTwoValues(text, sizeof text, "x0 = %.4f | k = %.4f", 1.00005f, -0.25f);
    EXPECT_EQ(std::string(text), "x0 = 1.0000 | k = -0.2500");
    formatTwoValues(text, sizeof text, "x0 = %.4f | k = %.4f", -0.25f, 1.00005f);
    EXPECT_EQ(std::string(text), "x0 = -0.2500 | k = 1.0000") << "the first value goes first";
}

// A readout longer than its buffer is cut short and still terminated.
TEST(TwoValueReadout, IsCutToItsBuffer)
{
    char text[16];
    formatTwoValues(text, sizeof text, "a = %.4f | b = %.4f | c = 0", -1.5f, 2.0f);
    EXPECT_EQ(std::string(text), "a = -1.5000 | b");
}
