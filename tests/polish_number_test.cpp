// Numbers in the Polish messages: the minus sign and the groups of thousands.
#include "common/polish_number.h"

#include <gtest/gtest.h>

TEST(PolishNumber, MinusSignAndGroupsOfThousands)
{
    const struct {
        std::int64_t value;
        const char* written;
    } whole[] = {
        {0, "0"},
        {1280, "1280"},                                          // four digits stay together
        {-1280, "\u22121280"},
        {41538, "41\u00a0538"},
        {500000, "500\u00a0000"},
        {-32768, "\u221232\u00a0768"},
        {4294967295, "4\u00a0294\u00a0967\u00a0295"},
    };
    for (const auto& c : whole) {
        EXPECT_EQ(polishNumber(c.value), c.written) << c.value;
    }

    const struct {
        const char* from;
        const char* written;
    } decimals[] = {
        {"-0,5000", "\u22120,5000"},
        {"165,6400", "165,6400"},
        {"-12345,5", "\u221212\u00a0345,5"},
        {"12345,67891", "12\u00a0345,67891"},  // the decimals are never grouped
        {"", ""},
    };
    for (const auto& c : decimals) {
        EXPECT_EQ(polishNumber(std::string(c.from)), c.written) << c.from;
    }
}
