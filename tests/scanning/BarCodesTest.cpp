#include "scanning/BarCodes.h"
#include "scanning/KeyBurst.h"
#include "support/CaseTable.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace BarCodes;

TEST(BarCodes, CheckDigitsOfEan8UpcAndEan13) {
    for (const TestCase& c : ReadTable("scanning/check-digits.table")) {
        EXPECT_EQ(hasCheckDigit(c["code"]), c.flag("hasCheck")) << c.where;
        EXPECT_EQ(checkDigitRight(c["code"]), c.flag("right")) << c.where;
    }
}

TEST(BarCodes, PriceVerifierDigits) {
    for (auto [digits, check] :
         {std::pair{"2875", '9'}, {"14685", '6'}, {"01499", '3'}, {"00000", '0'}})
        EXPECT_EQ(priceCheckDigitOf(digits), check) << digits;
}

TEST(BarCodes, ScaleFileLinesAndFaults) {
    std::vector<std::string> faults;
    const std::vector<ScaleLabel> labels =
        ParseScaleFile(crlf({"21 5 W 3 PLU", "22 4 P 2", "", "19 5 W 3 PLU", "23 6 W 3 PLU",
                             "24 5 X 3", "25 5 W 3 plu", "21 5 P 2 DUP", "26 5 W 3 ABCDEFGHI"}) +
                           "27 5 W\n",
                       faults);
    ASSERT_EQ(labels.size(), 2u);
    auto fields = [](const ScaleLabel& l) {
        return std::tuple{l.prefix, l.itemDigits, l.weight, l.decimals, l.codePrefix};
    };
    EXPECT_EQ(fields(labels[0]), std::tuple(std::string("21"), 5, true, 3, std::string("PLU")));
    EXPECT_EQ(fields(labels[1]), std::tuple(std::string("22"), 4, false, 2, std::string("")));
    EXPECT_EQ(faults,
              (std::vector<std::string>{
                  "line 4: the prefix is not 20 to 29, so it is ignored",
                  "line 5: the item digits are not 4 or 5, so it is ignored",
                  "line 6: the kind is not W or P, so it is ignored",
                  "line 7: the code prefix holds other than capitals and digits, so it is ignored",
                  "line 8: the prefix 21 is listed before, so it is ignored",
                  "line 9: it is not laid out as \"21 5 W 3 PLU\", so it is ignored",
                  "line 10: it is not laid out as \"21 5 W 3 PLU\", so it is ignored",
              }));
}

TEST(BarCodes, WeightAndPriceLabels) {
    std::vector<std::string> faults;
    const std::vector<ScaleLabel> labels = ParseScaleFile("21 5 W 3 PLU\r\n22 4 P 2 P\r\n", faults);
    for (const TestCase& c : ReadTable("scanning/scale-labels.table")) {
        SCOPED_TRACE(c.where);
        const std::optional<LabelReading> r = ReadLabel(c["code"], labels);
        ASSERT_EQ(r.has_value(), c.flag("label"));
        if (!r) continue;
        EXPECT_EQ(r->valid, c.flag("valid"));
        EXPECT_EQ(r->articleCode, c["article"]);
        EXPECT_EQ(r->weight, c.flag("weight"));
        EXPECT_DOUBLE_EQ(r->value, c.number("value"));
    }
}

TEST(KeyBurst, FourKeysWithinTheGapAreAScan) {
    for (const TestCase& c : ReadTable("scanning/key-bursts.table")) {
        KeyBurst burst(30);
        std::istringstream times(c["times"]);
        for (unsigned long t; times >> t;)
            burst.press(t);
        EXPECT_EQ(burst.scanned(), c.flag("scanned")) << c.where;
    }
    // Shift keeps a burst going but types nothing.
    KeyBurst burst(30);
    for (unsigned long t : {1000ul, 1005ul, 1010ul})
        burst.press(t);
    burst.press(1015, false);
    EXPECT_FALSE(burst.scanned());
    burst.press(1020);
    EXPECT_TRUE(burst.scanned());
}
