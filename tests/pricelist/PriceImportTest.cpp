#include "pricelist/PriceImport.h"
#include "store/CsvReader.h"
#include "support/CaseTable.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::vector<std::string>> rowsOf(const std::string& bytes) {
    CsvFault fault;
    std::optional<CsvTable> table = ReadCsv(bytes, fault);
    EXPECT_TRUE(table) << fault.text();
    return table ? table->rows : std::vector<std::vector<std::string>>{};
}

using Rows = std::vector<std::vector<std::string>>;

} // namespace

TEST(CsvReader, TakesWhatSpreadsheetsWrite) {
    const std::vector<std::pair<std::string, Rows>> cases = {
        {"a,b\r\nc,d\r\n", {{"a", "b"}, {"c", "d"}}},
        {"a,b\nc,d", {{"a", "b"}, {"c", "d"}}},
        {"\"x, y\",\"say \"\"hi\"\"\"\n", {{"x, y", "say \"hi\""}}},
        {"\"two\r\nlines\",z\n", {{"two\r\nlines", "z"}}},
        {"\xEF\xBB\xBF"
         "code;price\nA1;1,50\n",
         {{"code", "price"}, {"A1", "1,50"}}},
        // UTF-8 without a mark, and Windows-1252, both come back in the latter.
        {"Caf\xC3\xA9,\xE2\x82\xAC\n", {{"Caf\xE9", "\x80"}}},
        {"Caf\xE9,\x80\n", {{"Caf\xE9", "\x80"}}},
        {"a,,\n\n\nb\n", {{"a", "", ""}, {"b"}}},
        {"\"\"\n", {{""}}},
    };
    for (const auto& [bytes, rows] : cases)
        EXPECT_EQ(rowsOf(bytes), rows) << bytes;
}

TEST(CsvReader, AMalformedRowIsNamedByRowAndColumn) {
    for (const TestCase& c : ReadTable("pricelist/csv-faults.table")) {
        CsvFault fault;
        EXPECT_FALSE(ReadCsv(c["bytes"], fault)) << c.where;
        EXPECT_EQ(fault.text(), c["fault"]) << c.where;
    }
}

// Refused rows are named and left out; nothing else of the list changes.
TEST(PriceImport, RowsPassTheLineCheckOrAreRefusedByNumber) {
    const std::string apple = " APPLE         Apples red                       1.20       2.50 10";
    const std::string bread = " BREAD         Bread white                      0.80       1.95  5";
    CsvFault fault;
    const std::optional<CsvTable> table = ReadCsv("Code;Text;Cost;Price;Stock\n"
                                                  "apple;Apples;1,10;2,60;9\n"
                                                  "PEAR;Pears green;0,5;1;3\n"
                                                  "BAD CODE;x;1;2;3\n"
                                                  "PLUM;Plums;1.234;2;3\n"
                                                  "FIG;Figs;1;2;100\n"
                                                  "pear;Again;1;2;3\n"
                                                  "LONGDESC;abcdefghijklmnopqrstuvwxyz1;1;2;3\n",
                                                  fault);
    ASSERT_TRUE(table) << fault.text();
    const ImportColumns columns;
    const PriceImport updated = ImportPriceRows(*table, columns, {apple, bread}, true);
    EXPECT_TRUE(updated.headingSkipped);
    EXPECT_EQ(updated.lines,
              (std::vector<std::string>{
                  " APPLE         Apples red                       1.10       2.60 10", bread,
                  " PEAR          Pears green                      0.50       1.00  3"}));
    EXPECT_EQ(PriceImportReport(updated),
              "1 lines added, 1 prices updated, 0 existing codes kept, 5 rows refused."
              "\rRow 4: code (columns 2-14): letters A to Z, digits and \"/\", without blanks"
              "\rRow 5: wholesale price \"1.234\" is no amount with at most 2 decimals"
              "\rRow 6: stock level \"100\" is not a whole number 0 to 99"
              "\rRow 7: code PEAR stands on row 3 already"
              "\rRow 8: description is longer than 26 characters");
    const PriceImport kept = ImportPriceRows(*table, columns, {apple, bread}, false);
    EXPECT_EQ(kept.lines[0], apple);
    EXPECT_EQ(kept.kept, 1u);

    std::string why;
    EXPECT_FALSE(ParseImportColumns("1,2,3", why));
    EXPECT_FALSE(ParseImportColumns("0,2,3,4,5", why));
    EXPECT_EQ(why, "the code and the sale price need a column");
    ASSERT_TRUE(ParseImportColumns(" 2, 0,0 ,1,0", why));
    EXPECT_EQ(ImportColumnsText(*ParseImportColumns("2,0,0,1,0", why)), "2,0,0,1,0");
}
