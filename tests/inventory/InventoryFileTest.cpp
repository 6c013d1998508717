#include "inventory/InventoryFile.h"

#include "support/RandomFields.h"

#include <gtest/gtest.h>

TEST(InventoryFile, LinesInBothWidthsReadAlike) {
    InventoryLine line{' ', "4011200296908", 12, 3, -2.5, 140.25, 17.8};
    const std::string wide = " 4011200296908         12        3.0         -2.5           140.3"
                             "           17.80";
    const std::string narrow = " 4011200296908    12        3.0         -2.5           140.3"
                               "           17.80";
    EXPECT_EQ(FormatInventoryLine(line, MinMaxWidthUpdate), wide);
    EXPECT_EQ(FormatInventoryLine(line, MinMaxWidthConsolidation), narrow);
    for (const std::string& text : {wide, narrow}) {
        InventoryLine read;
        ASSERT_TRUE(ParseInventoryLine(text, read)) << text;
        // Every field read back: written again, the line comes out as it was.
        EXPECT_EQ(FormatInventoryLine(read, MinMaxWidthUpdate), wide);
    }
}

TEST(InventoryFile, JournalLinesNewLinesAndUnreadableLines) {
    EXPECT_EQ(FormatInventoryChange({"ABC          ", -3}), " ABC                 -3.0");
    InventoryChange change;
    ASSERT_TRUE(ParseInventoryChange(" ABC                10.0", change));
    EXPECT_EQ(change.code, "ABC          ");
    EXPECT_EQ(change.quantity, 10.0);
    EXPECT_FALSE(ParseInventoryChange(" ABC          ten", change));

    EXPECT_EQ(NewInventoryLine(' ', "4011200296908", 7, 0.4),
              " 4011200296908          7        0.0          0.0             0.0            0.40");
    double stock = 0;
    // The loader needs no more than three numbers.
    ASSERT_TRUE(ParseInventoryStock(" 4011200296908 7 1.0 12.5", stock));
    EXPECT_EQ(stock, 12.5);
    EXPECT_FALSE(ParseInventoryStock(" 4011200296908 7 1.0", stock));

    InventoryLine line;
    for (const char* text : {"", "$EXP1", " 4011200296908", " 4011200296908 12 1.0 x 0.0 1.00",
                             " 4011200296908 12 1.0 2.0 0.0"})
        EXPECT_FALSE(ParseInventoryLine(text, line)) << text;

    // A figure no shop has is faulty for the start and the apply alike.
    struct Huge {
        const char* text;
        bool readAtStart; // minmax, sold and on stock are read at start
    } huge[] = {
        {" 4011200296908 1e300 1.0 2.0 0.0 1.00", true},
        {" 4011200296908 12 1e300 2.0 0.0 1.00", true},
        {" 4011200296908 12 1.0 1e300 0.0 1.00", true},
        {" 4011200296908 12 1.0 2.0 1e300 1.00", false},
        {" 4011200296908 12 1.0 2.0 0.0 1e300", false},
    };
    for (const Huge& h : huge) {
        EXPECT_FALSE(ParseInventoryLine(h.text, line)) << h.text;
        if (h.readAtStart) {
            EXPECT_FALSE(ParseInventoryStock(h.text, stock)) << h.text;
        }
    }
    EXPECT_TRUE(ParseInventoryLine(" 4011200296908 12 1.0 999999999999 0.0 1.00", line));
}

TEST(InventoryFile, LinesReadByColumnAndByBlankAgree) {
    // A line of a written length is read by column; with one more blank at
    // its end it goes the general way. Both read alike, to the last bit.
    std::mt19937 random(76);
    for (int n = 0; n < 50000; ++n) {
        std::string text = (n % 7 ? " 4011200296908" : "$4011\r00296908");
        text += RandomFieldText(random, n % 2 ? 6 : 11);
        for (size_t width : {11, 13, 16, 16})
            text += RandomFieldText(random, width);
        InventoryLine byColumn, byBlank;
        const bool columns = ParseInventoryLine(text, byColumn);
        ASSERT_EQ(columns, ParseInventoryLine(text + " ", byBlank)) << text;
        if (!columns) continue;
        EXPECT_EQ(byColumn.ArticleCode, byBlank.ArticleCode);
        EXPECT_EQ(byColumn.InvMinMax, byBlank.InvMinMax) << text;
        for (auto number : {&InventoryLine::InvSold, &InventoryLine::InvOnStock,
                            &InventoryLine::InvTotalSold, &InventoryLine::InvValue})
            EXPECT_TRUE(SameBits(byColumn.*number, byBlank.*number)) << text;
    }
}
