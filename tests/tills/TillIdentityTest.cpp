#include "tills/TillIdentity.h"

#include "store/Options.h"

#include <gtest/gtest.h>

TEST(TillIdentity, OnlyANumberSetInTheFileCounts) {
    struct Case {
        const char* file;
        int set;
        int number;
    } cases[] = {
        {"", 0, 1},           {"till=1\r\n", 1, 1}, {"till=99\r\n", 99, 99}, {"till=100\r\n", 0, 1},
        {"till=0\r\n", 0, 1}, {"TILL=7\r\n", 7, 7}, {"till=x\r\n", 0, 1},    {"till=\r\n", 0, 1},
    };
    for (const Case& c : cases) {
        std::vector<std::string> faults;
        const Options options = Options::parse(c.file, faults);
        EXPECT_EQ(SetTillNumber(options), c.set) << c.file;
        EXPECT_EQ(TillNumber(options), c.number) << c.file;
    }
}
