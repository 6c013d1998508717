#include "store/NumberParse.h"

#include <gtest/gtest.h>

#include <cmath>

// Plain decimals are read on a short road; what it does not take goes the
// general way, with the same results as before.
TEST(NumberParse, PlainDecimalsAndTheRest) {
    struct Case {
        const char* text;
        double value;
        int errorPosition;
    };
    const Case cases[] = {
        {"-0.50", -0.5, 0},
        {"5.", 5, 0},
        {"123456789012345", 123456789012345.0, 0},
        {"1234567890123456.5", 1234567890123456.5, 0},
        {"0.1", 0.1, 0},
        {"+5", 5, 0},
        {" 7", 7, 0},
        {"1e3", 1000, 0},
        {".5", 0, 1},
        {"5..5", 0, 3},
        {"", 0, 1},
    };
    for (const Case& c : cases) {
        RealParse parsed = ParseReal(c.text);
        EXPECT_EQ(parsed.errorPosition, c.errorPosition) << c.text;
        if (c.errorPosition == 0) {
            EXPECT_EQ(parsed.value, c.value) << c.text;
        }
    }
    EXPECT_TRUE(std::signbit(ParseReal("-0.0").value));
}
