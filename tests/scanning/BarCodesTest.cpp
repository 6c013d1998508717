#include "scanning/BarCodes.h"
#include "scanning/KeyBurst.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

using namespace BarCodes;

TEST(BarCodes, CheckDigitsOfEan8UpcAndEan13) {
    struct Case {
        const char* code;
        bool hasCheck;
        bool right;
    };
    const Case cases[] = {
        {"4006381333931", true, true},   // EAN-13
        {"4006381333932", true, false},  // last digit wrong
        {"4006381343931", true, false},  // one digit inside wrong
        {"4006381339331", true, false},  // two digits transposed
        {"96385074", true, true},        // EAN-8
        {"96385704", true, false},       // transposed
        {"036000291452", true, true},    // UPC-A
        {"036000921452", true, false},   // transposed
        {"036000291453", true, false},   // last digit wrong
        {"5000000000017", true, false},  // a shop's own 13-digit number
        {"123456789", false, false},     // 9 digits have no check digit
        {"4006381A33931", false, false}, // not all digits
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hasCheckDigit(c.code), c.hasCheck) << c.code;
        EXPECT_EQ(checkDigitRight(c.code), c.right) << c.code;
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
    struct Case {
        const char* code;
        bool label;
        bool valid;
        const char* article;
        bool weight;
        double value;
    };
    const Case cases[] = {
        {"2101234012505", true, true, "PLU01234", true, 1.25},
        {"2101234012345", true, true, "PLU01234", true, 1.234},
        {"2101234012346", true, false, "PLU01234", true, 1.234}, // check digit wrong
        {"2200423014990", true, true, "P0042", false, 14.99},
        {"2200422014991", true, false, "P0042", false, 14.99}, // price verifier wrong
        {"2301234012345", false, false, "", true, 0},          // prefix not listed
        {"4006381333931", false, false, "", true, 0},
        {"210123401234", false, false, "", true, 0}, // 12 digits
    };
    for (const Case& c : cases) {
        const std::optional<LabelReading> r = ReadLabel(c.code, labels);
        ASSERT_EQ(r.has_value(), c.label) << c.code;
        if (!r) continue;
        EXPECT_EQ(r->valid, c.valid) << c.code;
        EXPECT_EQ(r->articleCode, c.article) << c.code;
        EXPECT_EQ(r->weight, c.weight) << c.code;
        EXPECT_DOUBLE_EQ(r->value, c.value) << c.code;
    }
}

TEST(KeyBurst, FourKeysWithinTheGapAreAScan) {
    struct Case {
        std::vector<unsigned long> times;
        bool scanned;
    };
    const Case cases[] = {
        {{1000, 1005, 1010, 1015}, true},
        {{1000, 1030, 1060, 1090}, true},  // the gap itself still counts
        {{1000, 1031, 1062, 1093}, false}, // a fast typist
        {{1000, 1005, 1010}, false},       // three keys are not enough
        {{1000, 1005, 1200, 1205, 1210, 1215}, true},
        {{1000, 1005, 1010, 1200}, false}, // a pause starts a new burst
        {{0, 0, 0, 0, 0}, false},          // times unknown: a person
        {{1000, 1005, 1003, 1008}, false}, // a clock running back breaks it
    };
    for (const Case& c : cases) {
        KeyBurst burst(30);
        for (unsigned long t : c.times)
            burst.press(t);
        EXPECT_EQ(burst.scanned(), c.scanned) << c.times.size() << " keys from " << c.times[0];
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
