#include "takings/TakingsReader.h"

#include "support/RandomFields.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Lines of exactly the written length are read by column; the same line with
// one more blank at its end goes the general way, blank by blank. Both must
// take the same lines and give the same numbers, to the last bit.
std::string recordText(std::mt19937& random, bool total) {
    static const char Markers[] = "AaZz@$#*1 ";
    std::string line;
    if (total) {
        line = "# Total*** 9:05";
        for (size_t width : {8, 9, 9, 17, 12, 12, 6})
            line += RandomFieldText(random, width);
    } else {
        line = std::string(1, Markers[random() % (std::size(Markers) - 1)]) + " APPLE        ";
        for (size_t width : {9, 11, 13, 13, 14})
            line += RandomFieldText(random, width);
        if (random() % 50 == 0) line[4] = random() % 2 ? '\r' : '\0';
    }
    return line;
}

void expectSameReading(const std::string& line) {
    TakingsEntry byColumn, byBlank;
    const bool columns = ParseTakingsLine(line, byColumn);
    const std::string longer = line + " ";
    const bool blanks = ParseTakingsLine(longer, byBlank);
    ASSERT_EQ(columns, blanks) << '"' << line << '"';
    if (!columns) return;
    EXPECT_EQ(byColumn.kind, byBlank.kind) << line;
    EXPECT_EQ(byColumn.code, byBlank.code) << line;
    const double TakingsEntry::*numbers[] = {
        &TakingsEntry::quantity,  &TakingsEntry::wholesale, &TakingsEntry::listPrice,
        &TakingsEntry::unitPrice, &TakingsEntry::amount,    &TakingsEntry::cash,
        &TakingsEntry::cheque,    &TakingsEntry::credit,    &TakingsEntry::tax,
        &TakingsEntry::total,     &TakingsEntry::received,  &TakingsEntry::change};
    for (auto number : numbers)
        EXPECT_TRUE(SameBits(byColumn.*number, byBlank.*number)) << line;
}

} // namespace

TEST(ParseTakingsLine, ByColumnAndByBlankAgree) {
    std::mt19937 random(2026);
    for (int n = 0; n < 100000; ++n)
        expectSameReading(recordText(random, n % 3 == 0));
}

TEST(ParseTakingsLine, WrittenRecordsByColumn) {
    TakingsEntry e;
    const std::string line = std::string("a /SERVICE     ") + "    -1.00" + "      -0.50" +
                             "        12.00" + "        11.40" + "        -11.40";
    ASSERT_EQ(line.size(), 75u);
    ASSERT_TRUE(ParseTakingsLine(line, e));
    EXPECT_EQ(e.kind, TakingsEntry::Kind::Line);
    EXPECT_EQ(e.code, "/SERVICE     ");
    EXPECT_EQ(e.quantity, -1.0);
    EXPECT_EQ(e.unitPrice, 11.4);
    EXPECT_EQ(e.amount, -11.4);
    const std::string total = std::string("# Total*** 9:05") + "   10.20" + "     0.00" +
                              "     0.00" + "             1.70" + "       10.20" + "       20.00" +
                              "  9.80";
    ASSERT_EQ(total.size(), 88u);
    ASSERT_TRUE(ParseTakingsLine(total, e));
    EXPECT_EQ(e.kind, TakingsEntry::Kind::Total);
    EXPECT_EQ(e.tax, 1.7);
    EXPECT_EQ(e.change, 9.8);
}
