#include "pricelist/PriceListItem.h"

#include "support/RandomFields.h"

#include <gtest/gtest.h>

TEST(ParsePriceListItem, ReadByColumnAndByBlankAgree) {
    // A line of the written length is read by column; with one more blank at
    // its end it goes the general way. Both read alike, to the last bit.
    std::mt19937 random(66);
    for (int n = 0; n < 50000; ++n) {
        std::string line = " 4011200296908 ";
        line += n % 5 ? "APPLES GRANNY SMITH       " : "A DESCRIPTION TOUCHING IT1";
        for (size_t width : {11, 11, 3})
            line += RandomFieldText(random, width);
        PriceListItem byColumn, byBlank;
        const bool columns = ParsePriceListItem(line, byColumn);
        const std::string longer = line + " ";
        ASSERT_EQ(columns, ParsePriceListItem(longer, byBlank)) << line;
        if (!columns) continue;
        EXPECT_EQ(byColumn.code, byBlank.code);
        EXPECT_EQ(byColumn.StockLevel, byBlank.StockLevel) << line;
        EXPECT_TRUE(SameBits(byColumn.wholesale, byBlank.wholesale)) << line;
        EXPECT_TRUE(SameBits(byColumn.salePrice, byBlank.salePrice)) << line;
    }
}
