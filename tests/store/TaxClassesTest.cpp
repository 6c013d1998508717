#include "store/TaxClasses.h"
#include "support/CaseTable.h"
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
    for (const TestCase& c : ReadCases("store/tax-class-faults.cases")) {
        SCOPED_TRACE(c.where + " " + c.name);
        TestDir dir;
        dir.write("Taxes.dat", c.crlf("Taxes.dat"));
        TaxClassesRead read = ReadTaxClasses(dir.path());
        EXPECT_EQ(read.faults, std::vector<std::string>{c["fault"]});
        EXPECT_TRUE(read.taxes.empty());
        EXPECT_EQ(read.taxes.rateOf("MILK", 10), 10);
    }
    TestDir none;
    EXPECT_TRUE(ReadTaxClasses(none.path()).faults.empty());
}
