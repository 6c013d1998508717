#include "fast/ColumnNumbers.h"
#include "fast/PlainDecimal.h"
#include "store/LineFields.h"
#include "store/NumberParse.h"
#include "store/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

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

// The short roads against the plain ones, on random numbers of every size
// the files hold: reading a plain decimal against strtod, and writing with
// d decimals against the road by way of the significant digits.
TEST(NumberParse, ShortRoadsAgreeWithThePlainOnes) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 200000; ++i) {
        const int digits = 1 + static_cast<int>(random() % 15);
        const int decimals = static_cast<int>(random() % static_cast<unsigned>(digits));
        std::string text = random() % 2 ? "-" : "";
        for (int d = 0; d < digits; ++d) {
            if (d == digits - decimals) text += '.';
            text += static_cast<char>('0' + random() % 10);
        }
        const char* p = text.data();
        double read = 0;
        ASSERT_TRUE(ReadPlainDecimal(p, text.data() + text.size(), &read)) << text;
        ASSERT_EQ(p, text.data() + text.size()) << text;
        ASSERT_EQ(read, std::strtod(text.c_str(), nullptr)) << text;

        // By column, in a field as the files write it, and in one that is not.
        const std::string field = std::string(1 + random() % 4, ' ') + text;
        double byColumn = 0;
        double byFields = 0;
        ASSERT_TRUE(
            ColumnNumbers::readDecimal(field.data(), field.data() + field.size(), byColumn));
        ASSERT_TRUE(LineFields(field).readReal(byFields));
        ASSERT_EQ(byColumn, byFields) << field;
        const std::string cramped = "x" + field;
        ASSERT_FALSE(
            ColumnNumbers::readDecimal(cramped.data(), cramped.data() + cramped.size(), byColumn));

        const int places = static_cast<int>(random() % 10);
        ASSERT_EQ(FixedDigits(read, places), FixedDigitsByDigits(read, places))
            << text << " with " << places;
        // Halves, where the short road must give way.
        const double half = read + (read < 0 ? -0.5 : 0.5) * std::pow(10.0, -places);
        ASSERT_EQ(FixedDigits(half, places), FixedDigitsByDigits(half, places))
            << text << " + half with " << places;
    }
}
