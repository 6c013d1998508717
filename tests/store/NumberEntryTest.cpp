#include "store/NumberEntry.h"
#include "store/AmountText.h"
#include "store/DateTimeText.h"
#include "store/NumberText.h"
#include "store/Padding.h"
#include "support/CaseTable.h"
#include "support/NoticeTexts.h"

#include <gtest/gtest.h>

// The position of the first faulty character, 0 when the text is a number.
TEST(NumberEntry, ParseNumberTrimsAndChecksTheLimit) {
    for (const TestCase& c : ReadTable("store/parse-number.table")) {
        SCOPED_TRACE(c.where);
        AmountEntry e = ParseNumber(c["text"]);
        EXPECT_DOUBLE_EQ(e.ParsedAmount, c.number("amount"));
        EXPECT_EQ(e.ValueError, static_cast<int>(c.number("valueError")));
        EXPECT_EQ(e.ScratchText, c["scratch"]);
        EXPECT_EQ(noticeTexts(e.notices),
                  c.flag("faulty")
                      ? std::vector<std::string>{c["scratch"] + " is a faulty Number or to big!"}
                      : std::vector<std::string>{});
    }
}

TEST(NumberEntry, ParseQuantity) {
    QuantityEntry q = ParseQuantity("999.99");
    EXPECT_EQ(q.ValueError, 0);
    EXPECT_DOUBLE_EQ(q.Quantity, 999.99);
    EXPECT_EQ(ParseQuantity("1000").ValueError, 1);
    q = ParseQuantity("-2");
    EXPECT_EQ(q.ValueError, 0);
    EXPECT_DOUBLE_EQ(q.Quantity, -2);
    EXPECT_TRUE(ParseQuantity("").QuantityEmpty);
    EXPECT_TRUE(ParseQuantity("\x1b").QuantityEmpty);
    EXPECT_TRUE(ParseQuantity("  ").QuantityEmpty);
    q = ParseQuantity("2  ");
    EXPECT_FALSE(q.QuantityEmpty);
    EXPECT_DOUBLE_EQ(q.Quantity, 2);
    EXPECT_NE(ParseQuantity("2x").ValueError, 0);
}

TEST(NumberEntry, PaddingNeverCuts) {
    EXPECT_EQ(PadLeft("12.00", 16), "           12.00");
    EXPECT_EQ(PadLeft("abcdefghijklmnopqrst", 16), "abcdefghijklmnopqrst");
    EXPECT_EQ(PadRight("ab", 5), "ab   ");
    EXPECT_EQ(PadRight("abcdef", 5), "abcdef");
}

TEST(NumberEntry, ClockText) {
    EXPECT_EQ(UpdateClockText("9:07:45"), "9:07");
    EXPECT_EQ(UpdateClockText("14:30:00"), "14:30");
    EXPECT_EQ(UpdateClockText("09:07:45"), "09:07");
}

TEST(NumberText, FixedWidthNumbers) {
    for (const TestCase& c : ReadTable("store/fixed-numbers.table"))
        EXPECT_EQ(FormatFixed(c.number("x"), static_cast<int>(c.number("width")),
                              static_cast<int>(c.number("decimals"))),
                  c["text"])
            << c.where;
    EXPECT_EQ(FormatFixed(0.1 + 0.2, 0, 1), "0.3");
    EXPECT_EQ(FormatInteger(12, 5), "   12");
    EXPECT_EQ(FormatInteger(-123456, 5), "-123456");
}

TEST(AmountText, CurrencyFixedGeneralAndThreeDecimal) {
    RegionalFormats f;
    EXPECT_EQ(CurrencyText(1234.5, f), "$1,234.50");
    EXPECT_EQ(CurrencyText(-1.5, f), "-$1.50");
    EXPECT_EQ(CurrencyText(-0.001, f), "$0.00");
    EXPECT_EQ(CurrencyText(123456789.126, f), "$123,456,789.10");
    EXPECT_EQ(CurrencyText(0.09, f, 9), "$0.09");
    f.currencySymbol = "EUR";
    f.symbolBefore = false;
    f.symbolSpaced = true;
    f.decimalSeparator = ',';
    f.thousandsSeparator = ".";
    EXPECT_EQ(CurrencyText(1234.5, f), "1.234,50 EUR");
    EXPECT_EQ(FixedText(12.3), "12.30");
    EXPECT_EQ(GeneralText(2, 6), "2");
    EXPECT_EQ(GeneralText(1.5, 6), "1.5");
    EXPECT_EQ(GeneralText(0.25, 7), "0.25");
    EXPECT_DOUBLE_EQ(ThreeDecimalForm(8.4915), 8.492);
    EXPECT_DOUBLE_EQ(CutToCents(1.709), 1.70);
    EXPECT_DOUBLE_EQ(CutToCents(-1.709), -1.70);
    // Binary noise never costs a cent the decimal figures hold.
    EXPECT_DOUBLE_EQ(CutToCents(0.3 + 0.6), 0.90);
    EXPECT_DOUBLE_EQ(CutWhole(0.57 * 100), 57);
    EXPECT_DOUBLE_EQ(CutWhole(-0.57 * 100), -57);
    EXPECT_DOUBLE_EQ(CutWhole(9.975), 9);
}

TEST(DateTimeText, DatesAndTimes) {
    RegionalFormats f;
    DateTime t{2026, 3, 4, 9, 5, 7};
    EXPECT_EQ(ShortDateText(t, f), "04/03/26");
    EXPECT_EQ(LongTimeText(t, f), "9:05:07");
    EXPECT_EQ(DateTimeText(t, f), "04/03/26 9:05:07");
    EXPECT_EQ(FormatDateTime(t, "yyyy-MM-dd HH:mm"), "2026-03-04 09:05");
    for (const char* pattern : {"dd/MM/yy", "dd/MM/yyyy", "d.M.yyyy"}) {
        f.shortDate = pattern;
        EXPECT_EQ(DocketDateText({2026, 12, 7, 9, 5, 7}, f),
                  pattern[1] == 'd' ? "07/12/26" : "7.12.26");
    }
}
