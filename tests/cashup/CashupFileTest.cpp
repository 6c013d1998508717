#include "cashup/CashupFile.h"
#include "store/Options.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

namespace {

const std::string Count =
    "X      2 07/12/26 9:05  A       100.00       352.50       350.00        -2.50";
const std::string Close =
    "Z      7 07/12/26 18:00 B       100.00       352.50                          ";

} // namespace

TEST(CashupFile, LinesAreWrittenAndReadInTheirColumns) {
    EXPECT_EQ(CashCountLine({'X', 2, "07/12/26", "9:05", 'A', 100, 352.5, 350.0}), Count);
    EXPECT_EQ(CashCountLine({'Z', 7, "07/12/26", "18:00", 'B', 100, 352.5, std::nullopt}), Close);
    CashCount c;
    ASSERT_TRUE(ParseCashCount(Close, c));
    EXPECT_EQ(c.number, 7);
    EXPECT_FALSE(c.counted.has_value());
    ASSERT_TRUE(ParseCashCount(Count, c));
    EXPECT_DOUBLE_EQ(c.difference(), -2.5);
    // Anything but the layout is refused: an X line needs its count.
    for (std::string bad : {Count.substr(1), "Q" + Count.substr(1), "X" + Close.substr(1),
                            Count.substr(0, 30) + "x" + Count.substr(31)})
        EXPECT_FALSE(ParseCashCount(bad, c)) << bad;
}

TEST(CashupFile, ZNumbersRunOnAcrossArchivesAndPastUnreadableLines) {
    TestDir dir;
    EXPECT_EQ(NextZNumber(dir.path()), 1);
    dir.write("Csh2612.05", crlf({Close}));
    dir.write("Cashup.dat", crlf({Count, "damaged"}));
    EXPECT_EQ(NextZNumber(dir.path()), 8);
    CashupRead read = ReadCashup(dir.file("Cashup.dat"));
    EXPECT_EQ(read.faults, std::vector<std::string>{dir.file("Cashup.dat") +
                                                    ", line 2: not a count of the drawer"});
    EXPECT_EQ(NextCountNumber(read), 3);
    AppendCashCount(dir.path(), {'O', 3, "08/12/26", "8:00", ' ', 50, 50, 50.0});
    EXPECT_EQ(
        dir.read("Cashup.dat"),
        crlf({Count, "damaged",
              "O      3 08/12/26 8:00           50.00        50.00        50.00         0.00"}));
    EXPECT_EQ(OpeningFloat(ReadCashup(dir.file("Cashup.dat")), "08/12/26"), 50.0);
    EXPECT_EQ(CashupArchiveName("Res2612.07a"), "Csh2612.07a");
}

TEST(CashupFile, FloatAndDenominationsTakeOnlyAmounts) {
    const OptionKey& cashFloat = *FindOptionKey("float");
    const OptionKey& notes = *FindOptionKey("denominations");
    for (const char* good : {"", "0", "100", "99.95", "100000"})
        EXPECT_FALSE(OptionValueFault(cashFloat, good)) << good;
    for (const char* bad : {"-5", "100000.01", "1,50", "1.", "1.234", "abc"})
        EXPECT_TRUE(OptionValueFault(cashFloat, bad)) << bad;
    for (const char* good : {"100,50,0.05", "1"})
        EXPECT_FALSE(OptionValueFault(notes, good)) << good;
    for (const char* bad : {"", "100,,50", "100,", "0", "5,-1"})
        EXPECT_TRUE(OptionValueFault(notes, bad)) << bad;
}
