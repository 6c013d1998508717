#include "app/TillScript.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A shop as the golden day's: A sells three apples and two pears at the
// medium discount, B takes an apple back; the day is closed at 18:00.
TEST(TillScriptTest, ASalesDayIsRecordedAndClosedByTheProgramsOwnSteps) {
    TestDir dir;
    const std::string shop = std::string(ZORVI_SOURCE_DIR) + "/tests/golden/day-close/input/";
    for (const char* name : {"Configur.dat", "Pricelist.dat", "Inventory.dat"})
        dir.write(name, ReadFileBytes(shop + name));
    dir.write("Options.dat", "till=2\r\n");

    const TillScriptRun run = RunTillScript(dir.path(), "# the day\n"
                                                        "at 2026-12-05 09:00\n"
                                                        "sale A\n"
                                                        "item apple 3\n"
                                                        "item PEAR 2 M\n"
                                                        "at 2026-12-05 09:05\n"
                                                        "pay C 20\n"
                                                        "at 2026-12-05 09:30\n"
                                                        "sale B\n"
                                                        "return APPLE\n"
                                                        "pay C\n"
                                                        "at 2026-12-05 18:00\n"
                                                        "close\n");
    ASSERT_EQ(run.status, 0);
    ASSERT_FALSE(run.output.empty());
    EXPECT_EQ(run.output.back(), "Till 2, Z 1, 05/12/26: day total 7.70");
    EXPECT_FALSE(dir.exists("Results.dat"));
    EXPECT_EQ(dir.read("Res2026Dez.05"),
              crlf({"* START of SALE   05/12/26 09:00",
                    "A APPLE             3.00       1.20         2.50         2.50          7.50",
                    "A PEAR              2.00       0.80         1.50         1.35          2.70",
                    "# Total***09:05   10.20     0.00     0.00             0.00       10.20"
                    "       20.00  9.80",
                    "B APPLE            -1.00      -1.20        -2.50        -2.50         -2.50",
                    "# Total***09:30   -2.50     0.00     0.00             0.00       -2.50"
                    "       -2.50  0.00"}));
    EXPECT_EQ(
        dir.read("Daybyday.dat"),
        crlf({"*    05/12/26 09:00    ***   05/12/26",
              "#  4.0       4.00        8.00        7.70         7.70        0.00         0.00",
              "&                        0.00        0.00         7.70        0.00         7.70"
              "  "}));
    EXPECT_TRUE(dir.exists("Outbox/20261205-T02-Z1/Manifest.txt"));

    // A step the program would not take stops the script there.
    const TillScriptRun refused = RunTillScript(dir.path(), "sale A\nitem NOSUCH\npay C\n");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(std::find(refused.told.begin(), refused.told.end(),
                        "Line 2: item NOSUCH: NOSUCH is not an article of the price list"),
              refused.told.end());
}

} // namespace
