#include "pricelist/DoubleEntryCheck.h"
#include "pricelist/PriceLineCheck.h"
#include "pricelist/PriceListSave.h"

#include "store/Configuration.h"
#include "store/DataFiles.h"
#include "store/FileCommit.h"
#include "store/IoError.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string Apple = " APPLE         Apples red                       1.20       2.50 10";
const std::string Bread = " BREAD         Bread white                      0.80       1.95  5";
const std::string Milk = " MILK          Milk 1l                          0.60       1.10  5";
const std::string AppleInv =
    " APPLE                 10        2.0         15.0            30.0            1.20";
const std::string AppleInv2 =
    " APPLE            10        0.0         99.0             0.0            1.20";
const std::string BreadInv =
    " BREAD             5        1.0          7.0            12.0            0.80";
const std::string OldInv =
    " OLD                    3        0.0          1.0             0.0            9.99";
const std::string MilkInv =
    " MILK                   5        0.0          0.0             0.0            0.60";

using Views = std::vector<std::string_view>;

struct Shop {
    TestDir dir;
    DataFiles files{dir.path()};
    Configuration config = DefaultConfiguration();
    Shop() {
        config.InventoryOn = true;
        dir.write("Pricelist.dat", crlf({Apple, Bread}));
        dir.write("Inventory.dat", crlf({BreadInv, OldInv, AppleInv, AppleInv2}));
    }
    // An article added with a lower-case code, empty lines, and a line with a remark.
    const std::vector<std::string> edited{Apple, "", " milk" + Milk.substr(5), "   ",
                                          Bread + " remark after 66"};
};

} // namespace

// A typed line: each field left-aligned in its columns, one blank between.
std::string typed(const char* marker, const char* code, const char* description,
                  const char* wholesale, const char* sale, const char* minmax) {
    auto field = [](const char* text, size_t width) {
        std::string s = text;
        return s + std::string(width > s.size() ? width - s.size() : 0, ' ');
    };
    return field(marker, 1) + field(code, 13) + " " + field(description, 26) + " " +
           field(wholesale, 10) + " " + field(sale, 10) + " " + minmax;
}

TEST(PriceLineCheck, RebuildsOrSaysWhatIsWrong) {
    const std::string code =
        "code (columns 2-14): letters A to Z, digits and \"/\", without blanks";
    const std::string price =
        " (columns 43-52): a number -999999.99 to 9999999.99 with a decimal point";
    const std::string stock = "stock level (columns 65-66): a whole number 0 to 99";
    struct Case {
        std::string typed;
        const char* rebuilt; // nullptr: faulty
        std::string fault;
    };
    const Case cases[] = {
        {typed(" ", "abc/123", "apples Red", "1.5", "   -3", "5 "),
         " ABC/123       Apples Red                       1.50      -3.00  5", ""},
        {typed(" ", " X", "  d", "1", "2", "7"),
         " X             D                                1.00       2.00  7", ""},
        {typed("$", "RENT", "Rent", "1e2", "500.0", "12 and a remark"),
         "$RENT          Rent                           100.00     500.00 12", ""},
        {typed(" ", "X", "D", "-999999.99", "0", "99"),
         " X             D                          -999999.99       0.00 99", ""},
        {typed(" ", "X", "D", "1", "2", ""), nullptr, stock},
        {typed(" ", "X", "D", "1", "2", "x1"), nullptr, stock},
        {typed(" ", "X", "D", "1", "2", "-1"), nullptr, stock},
        {typed("#", "X", "D", "1", "2", "1"), nullptr,
         "marker (column 1): a blank for an article or a service, \"$\" for an expense"},
        {typed(" ", "X", "D", "1,50", "2", "1"), nullptr, "wholesale price" + price},
        {typed(" ", "X", "D", "10000000", "2", "1"), nullptr, "wholesale price" + price},
        {typed(" ", "X", "D", "-1000000", "2", "1"), nullptr, "wholesale price" + price},
        {typed(" ", "X", "D", "1", "", "1"), nullptr,
         "sale price (columns 54-63): a number -999999.99 to 9999999.99 with a decimal point"},
        {typed(" ", "", "D", "1", "2", "1"), nullptr, code},
        {typed(" ", "AB-12", "D", "1", "2", "1"), nullptr, code},
        {typed(" ", "AB 12", "D", "1", "2", "1"), nullptr, code},
        {typed("$", "/RENT", "D", "1", "2", "1"), nullptr,
         "code (columns 2-14): letters A to Z and digits, without blanks"},
        {typed(" ", "X", "D\tE", "1", "2", "1"), nullptr,
         "description (columns 16-41): text without control characters"},
        {typed(" ", "X", "D", "1", "2", "1").replace(14, 1, "\t"), nullptr, "column 15: a blank"},
        {typed(" ", "X", "D", "1", "2", "1").replace(52, 1, "x"), nullptr, "column 53: a blank"},
        {typed(" ", "X", "D", "1", "2", "1").substr(0, 40), nullptr,
         "columns 41-66: missing (a line holds its fields up to column 66)"},
    };
    for (const Case& c : cases) {
        std::string rebuilt = "untouched";
        bool passed = CheckPriceLine(c.typed, rebuilt);
        EXPECT_EQ(passed, c.rebuilt != nullptr) << c.typed;
        EXPECT_EQ(rebuilt, c.rebuilt ? c.rebuilt : "untouched") << c.typed;
        EXPECT_EQ(PriceLineFault(c.typed), c.fault) << c.typed;
    }
}

TEST(DoubleEntryCheck, NamesEveryLineAfterTheFirstOncePerOccurrence) {
    const std::string x = " X             Ex                               1.00       1.00  1";
    const std::string xExpense =
        "$X             Ex                               1.00       1.00  1";
    const std::string y = " Y             Why                              1.00       1.00  1";
    DoubleEntryReport r = FindDoubleEntries(Views{Apple, Bread, x, y, Milk, y, xExpense});
    const std::string xs = " X            ,  delete line No: 7";
    const std::string ys = " Y            ,  delete line No: 6";
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.lines, (std::vector<std::string>{xs, ys, ys, xs}));
    EXPECT_FALSE(FindDoubleEntries(Views{Apple, Bread}).found);

    // 102 lines of one code give 102 x 101 report lines; the screen gets 10,000.
    DoubleEntryReport big = FindDoubleEntries(Views(102, x));
    EXPECT_EQ(big.lines.size(), 10000u);
    EXPECT_EQ(big.leftOut, 102u * 101u - 10000u);
    EXPECT_EQ(big.lines.back(), " X            ,  delete line No: 2");
}

TEST(PriceListSave, KeepsCompleteLinesAndBringsTheInventoryIntoLineWhereverItStops) {
    // Stopped after 0 to 3 operations and finished at the next start; the
    // last run is not stopped and goes on to the work copy.
    for (size_t k = 0; k <= 4; ++k) {
        Shop s;
        s.dir.write("dcheck.a", "left over\r\n");
        std::vector<size_t> progress;
        PriceListSaveOptions options;
        options.progress = [&](size_t done, size_t) { progress.push_back(done); };
        if (k < 4) options.stopCommitAfter = k;
        PriceListSaveResult r = SavePriceList(s.files, s.config, s.edited, options);
        RecoverFileCommit(s.dir.path());
        EXPECT_EQ(s.dir.read("Pricelist.dat"), crlf({Apple, Milk, Bread})) << k;
        EXPECT_EQ(s.dir.read("Inventory.dat"), crlf({AppleInv, MilkInv, BreadInv})) << k;
        EXPECT_EQ(s.dir.read("Inventory.wrk"), crlf({BreadInv, OldInv, AppleInv, AppleInv2})) << k;
        if (k < 4) continue;
        EXPECT_TRUE(r.saved);
        // The work copy shows each article's own stock, not its neighbour's.
        EXPECT_EQ(
            s.dir.read("Pricelist.wrk"),
            crlf({" APPLE         Apples red                       1.20       2.50    10   15",
                  " MILK          Milk 1l                          0.60       1.10     5    0",
                  " BREAD         Bread white                      0.80       1.95     5    7"}));
        EXPECT_EQ(progress.back(), 3u);
        EXPECT_FALSE(CheckDoubleEntries(s.files).found);
        EXPECT_FALSE(s.dir.exists("dcheck.a"));
        EXPECT_TRUE(r.notices.empty());
    }
}

TEST(PriceListSave, AFaultyLineOrAReadOnlyInventorySavesNothingAndNoInventoryStaysNone) {
    Shop s;
    std::vector<std::string> lines = s.edited;
    lines.push_back("short");
    lines.push_back(" PEAR          Pears                            1,50       2.00  1");
    PriceListSaveResult refused = SavePriceList(s.files, s.config, lines);
    EXPECT_EQ(refused.checked.faultyLine, 5u);
    EXPECT_EQ(refused.checked.fault,
              "columns 6-66: missing (a line holds its fields up to column 66)");
    EXPECT_FALSE(refused.saved);
    EXPECT_EQ(s.dir.read("Pricelist.dat"), crlf({Apple, Bread}));

    namespace fs = std::filesystem;
    fs::permissions(s.dir.file("Inventory.dat"), fs::perms::owner_read);
    EXPECT_THROW(SavePriceList(s.files, s.config, s.edited), IoError);
    EXPECT_EQ(s.dir.read("Pricelist.dat"), crlf({Apple, Bread}));
    EXPECT_FALSE(s.dir.exists("Inventory.wrk"));

    fs::remove(s.dir.file("Inventory.dat"));
    EXPECT_TRUE(SavePriceList(s.files, s.config, {Milk}).saved);
    EXPECT_EQ(s.dir.read("Pricelist.dat"), crlf({Milk}));
    EXPECT_FALSE(s.dir.exists("Inventory.dat") || s.dir.exists("Inventory.wrk"));
}
