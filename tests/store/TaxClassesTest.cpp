#include "store/TaxClasses.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

TEST(TaxClasses, RatesByCodeAndPrefix) {
    TestDir dir;
    dir.write("Taxes.dat", crlf({"=Z  0.00", "=R  5.00", "MILK          R", "/*            Z",
                                 "40*           R", "4012*         Z"}));
    TaxClassesRead read = ReadTaxClasses(dir.path());
    ASSERT_TRUE(read.faults.empty());
    const struct {
        const char* code;
        double rate;
    } cases[] = {
        {"MILK         ", 5},  // its own code
        {"MILKSHAKE    ", 10}, // a code is no prefix
        {"/REPAIR      ", 0},  // services
        {"4001234567890", 5},  // a prefix
        {"4012345678901", 0},  // the longest prefix wins
        {"BREAD        ", 10}, // no class: the one rate
    };
    for (const auto& c : cases)
        EXPECT_EQ(read.taxes.rateOf(c.code, 10), c.rate) << c.code;
    // Written back as it was read.
    EXPECT_EQ(TaxClassesText(read.taxes), dir.read("Taxes.dat"));
}

TEST(TaxClasses, AFaultyFileIsNamedLineByLineAndNotUsed) {
    const struct {
        const char* text;
        const char* fault;
    } cases[] = {
        {"=A 101.00\r\n", "line 1: the rate of class A is not from 0 to 100"},
        {"=A -1.00\r\n", "line 1: the rate of class A is not from 0 to 100"},
        {"=A  5.00\r\nMILK          A\r\nMILK          A\r\n",
         "line 3: the code MILK is given twice"},
        {"=A  5.00\r\n=A  7.00\r\n", "line 2: class A is given twice"},
        {"MILK          B\r\n=A  5.00\r\n", "line 1: class B has no rate"},
        {"=A  5.00\r\nMILK A\r\n",
         "line 2: an article is its code in 13 columns, a blank and its class letter"},
    };
    for (const auto& c : cases) {
        TestDir dir;
        dir.write("Taxes.dat", c.text);
        TaxClassesRead read = ReadTaxClasses(dir.path());
        EXPECT_EQ(read.faults, std::vector<std::string>{c.fault}) << c.text;
        EXPECT_TRUE(read.taxes.empty()) << c.text;
        EXPECT_EQ(read.taxes.rateOf("MILK", 10), 10) << c.text;
    }
    TestDir none;
    EXPECT_TRUE(ReadTaxClasses(none.path()).faults.empty());
}
