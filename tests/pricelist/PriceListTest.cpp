#include "pricelist/PriceList.h"

#include "store/AmountText.h"
#include "store/Configuration.h"
#include "store/DataFiles.h"
#include "store/ProgramState.h"
#include "support/NoticeTexts.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>

namespace {

const std::string LoaderMessage = "There is an Error in the Pricelist\rPress  >Update< + >Update "
                                  "Price list<\rand correct the faulty line.";

// Price list lines, 66 characters each.
const std::string Sample = " SAMPLE___CODE Sample entry of an article       0.00       0.00  0";
const std::string Apples = " ABC           Apples red                       1.20       2.50 10";
const std::string Bread = " 4000000000017 Bread white                      0.80       1.95  5";
const std::string Rent = "$RENT          Shop rent                        0.00     500.00  0";
const std::string LettersInPrice =
    " BAD1          Letters in price                 1.2O       2.50  1";
const std::string LettersInMinmax =
    " BAD2          Letters in minmax                1.00       2.50 1x";
const std::string NoNumbers = " BAD3          Nothing but blanks                                 ";
const std::string Garbage = std::string("\xff\x00\x1a\x80 binary", 11) + std::string(55, '\x7f');
// A line of 300 characters: the 66 of an article, a blank and a long remark.
const std::string Long300 =
    " LONG          Long line                        3.00       4.00  2 " + std::string(233, 'x');
const std::string Short65 = " SHORT         Sixty-five characters only       1.00       1.00 1";

// Work copy lines, 74 characters each.
const std::string ApplesWork =
    " ABC           Apples red                       1.20       2.50    10    0";
const std::string BreadWork =
    " 4000000000017 Bread white                      0.80       1.95     5    0";
const std::string RentWork =
    "$RENT          Shop rent                        0.00     500.00     0    0";
const std::string LongWork =
    " LONG          Long line                        3.00       4.00     2    0";

struct PriceDir {
    TestDir dir;
    DataFiles files{dir.path()};
    Configuration config;
    Notices notices;

    bool build() {
        std::optional<TextReader> priceList = OpenPriceList(files);
        std::optional<TextAppender> priceWork = files.OpenPriceWorkForAppend();
        EXPECT_TRUE(priceList);
        EXPECT_TRUE(priceWork);
        if (!priceList || !priceWork) return true;
        bool error = BuildPriceWorkFile(files, *priceList, *priceWork, config, notices);
        priceWork->close();
        return error;
    }
    CurrentArticle find(const std::string& code, CurrentArticle article = {}) {
        // Without a work copy nothing can be found: the till then keeps no code.
        if (std::optional<TextReader> priceWork = files.OpenPriceWorkForRead())
            FindArticle(*priceWork, code, article);
        else
            article.ArticleCode.clear();
        return article;
    }
};

} // namespace

// Each case lists the directory before and after; nothing else may be left.
TEST(PriceList, CompactionKeepsEveryLineOf66CharactersOrMore) {
    using Files = std::map<std::string, std::string>;
    auto list = [](const std::string& bytes) { return Files{{"Pricelist.dat", bytes}}; };
    struct Case {
        const char* name;
        Files before, after;
    };
    const Case cases[] = {
        {"65 dropped, sample kept", list(crlf({Short65, Sample})), list(crlf({Sample}))},
        {"empty lines dropped", list(crlf({"", Apples, "", "  ", Bread})),
         list(crlf({Apples, Bread}))},
        {"300 characters kept whole", list(crlf({Long300, Apples})), list(crlf({Long300, Apples}))},
        {"LF line ends", list(Apples + "\n" + Short65 + "\n" + Bread + "\n"),
         list(crlf({Apples, Bread}))},
        {"no last line end", list(crlf({Apples}) + Bread), list(crlf({Apples, Bread}))},
        {"binary kept when long enough", list(crlf({Garbage, "\x01\x02\xff", Rent})),
         list(crlf({Garbage, Rent}))},
        {"stray CR inside a line kept", list(Apples + "\rX\r\n"), list(Apples + "\rX\r\n")},
        {"only short lines", list(crlf({Short65, "x"})), list("")},
        {"the existing spelling of the name",
         {{"PRICELIST.DAT", crlf({Short65, Apples})}},
         {{"PRICELIST.DAT", crlf({Apples})}}},
        // Left by an interrupted compaction: the master wins while it is there,
        // else the copy is the price list and nobody is asked for a new one.
        {"master and copy",
         {{"Pricelist.dat", crlf({Apples, Short65})}, {"Pricelist.new", "x"}},
         list(crlf({Apples}))},
        {"copy alone", {{"Pricelist.new", crlf({Apples, Rent})}}, list(crlf({Apples, Rent}))},
    };
    for (const Case& c : cases) {
        PriceDir d;
        for (const auto& [name, bytes] : c.before)
            d.dir.write(name, bytes);
        CompactPriceList(d.files);
        EXPECT_EQ(d.dir.files(), c.after) << c.name;
        EXPECT_FALSE(d.dir.heldOpen("Pricelist.dat")) << c.name;
        EXPECT_FALSE(PriceListMissing(d.files)) << c.name;
    }
}

TEST(PriceList, StartCompactsAndRebuildsTheWorkCopy) {
    PriceDir d;
    d.dir.write("Pricelist.dat", crlf({Short65, Apples, LettersInPrice, Bread}));
    d.dir.write("Pricelist.wrk", crlf({RentWork}));
    EXPECT_TRUE(TidyPriceList(d.files).empty());
    EXPECT_FALSE(d.dir.exists("Pricelist.wrk"));
    PriceWorkPreparation prepared = PreparePriceWork(d.files, d.config);
    EXPECT_FALSE(prepared.priceListError);
    EXPECT_TRUE(prepared.opened);
    EXPECT_EQ(d.dir.read("Pricelist.dat"), crlf({Apples, LettersInPrice, Bread}));
    EXPECT_EQ(d.dir.read("Pricelist.wrk"), crlf({ApplesWork, BreadWork}));
    EXPECT_EQ(noticeTexts(prepared.notices), std::vector<std::string>{LoaderMessage});
}

TEST(PriceList, WorkCopyLeavesOutFaultyLinesAndKeepsTheRest) {
    struct Case {
        const char* name;
        std::string list;
        std::string work;
        size_t messages;
        bool error;
    };
    const Case cases[] = {
        {"letters in a price", crlf({Apples, LettersInPrice, Bread}), crlf({ApplesWork, BreadWork}),
         1, false},
        {"letters in the minmax", crlf({LettersInMinmax, Rent}), crlf({RentWork}), 1, false},
        {"last line faulty", crlf({Apples, LettersInPrice}), crlf({ApplesWork}), 1, true},
        {"blank numbers do not swallow the next line", crlf({NoNumbers, Apples}),
         crlf({ApplesWork}), 1, false},
        {"binary garbage", crlf({Garbage, Apples, Garbage}), crlf({ApplesWork}), 2, true},
        {"300 characters", crlf({Long300, Bread}), crlf({LongWork, BreadWork}), 0, false},
        {"LF line ends, no last line end", Apples + "\n" + Bread + "\n" + Rent,
         crlf({ApplesWork, BreadWork, RentWork}), 0, false},
        {"short line read without compaction", crlf({"x", Apples}), crlf({ApplesWork}), 1, false},
        {"stray CR in the description",
         crlf({" CR            Carriage\rreturn                  1.00       2.00  1", Apples}),
         crlf({ApplesWork}), 1, false},
        {"empty list", "", "", 0, false},
    };
    for (const Case& c : cases) {
        PriceDir d;
        d.dir.write("Pricelist.dat", c.list);
        EXPECT_EQ(d.build(), c.error) << c.name;
        EXPECT_EQ(d.dir.read("Pricelist.wrk"), c.work) << c.name;
        EXPECT_EQ(noticeTexts(d.notices), std::vector<std::string>(c.messages, LoaderMessage))
            << c.name;
    }
}

TEST(PriceList, WorkCopyTakesTheStockLineByLineFromTheInventory) {
    // Inventory lines as the inventory update writes them (81 characters)
    // and as the consolidation writes them (5-wide minmax).
    const std::string invApples =
        " ABC                   10        3.0         12.0            40.0           12.00";
    const std::string invBread =
        " 4000000000017     5        1.0         -2.0          7.0          0.80";
    const std::string invRent =
        "$RENT                  0        0.0          0.0             0.0           0.00";
    const std::string invGarbled = " ???          ten pieces";
    struct Case {
        const char* name;
        std::string list;
        std::string inventory; // empty: no file
        std::string work;
        bool inventoryOn = true;
    };
    const Case cases[] = {
        {"outside inventory mode the inventory is ignored", crlf({Apples}), crlf({invApples}),
         crlf({ApplesWork}), false},
        {"one line per line, codes not compared", crlf({Bread, Apples}),
         crlf({invApples, invBread}),
         crlf({" 4000000000017 Bread white                      0.80       1.95     5   12",
               " ABC           Apples red                       1.20       2.50    10   -2"})},
        {"a faulty line still uses up its inventory line", crlf({LettersInPrice, Bread}),
         crlf({invApples, invBread}),
         crlf({" 4000000000017 Bread white                      0.80       1.95     5   -2"})},
        {"inventory shorter: stock 0 for the rest", crlf({Apples, Bread, Rent}), crlf({invApples}),
         crlf({" ABC           Apples red                       1.20       2.50    10   12",
               BreadWork, RentWork})},
        {"inventory longer: the rest ignored", crlf({Rent}), crlf({invRent, invApples}),
         crlf({RentWork})},
        {"garbled inventory line: stock 0, the next still in step", crlf({Apples, Bread}),
         crlf({invGarbled, invBread}),
         crlf({ApplesWork,
               " 4000000000017 Bread white                      0.80       1.95     5   -2"})},
        {"a stock too large to read back: stock 0", crlf({Apples}),
         crlf({" ABC           10 0.0 1e30 0.0 0.00"}), crlf({ApplesWork})},
        {"no inventory file", crlf({Apples}), "", crlf({ApplesWork})},
        {"a stock too wide for its column stays apart from the minmax", crlf({Apples, Bread}),
         crlf({" ABC           10 0.0 123456.0 0.0 0.00", " 4000000000017 5 0.0 -9999.0 0.0 0.00"}),
         crlf({" ABC           Apples red                       1.20       2.50    10 123456",
               " 4000000000017 Bread white                      0.80       1.95     5 -9999"})},
    };
    for (const Case& c : cases) {
        PriceDir d;
        d.config.InventoryOn = c.inventoryOn;
        d.dir.write("Pricelist.dat", c.list);
        if (!c.inventory.empty()) d.dir.write("Inventory.dat", c.inventory);
        d.build();
        EXPECT_EQ(d.dir.read("Pricelist.wrk"), c.work) << c.name;
        EXPECT_FALSE(d.dir.heldOpen("Inventory.dat")) << c.name;
    }
}

TEST(PriceList, AFaultyInventoryLineIsReportedOnce) {
    PriceDir d;
    d.config.InventoryOn = true;
    d.dir.write("Pricelist.dat", crlf({Bread, Apples}));
    d.dir.write("Inventory.dat",
                crlf({" X             5 0.0 1e30 0.0", " Y             1 0.0 junk"}));
    d.build();
    EXPECT_EQ(noticeTexts(d.notices),
              std::vector<std::string>{"Faulty line 1 in file " + d.dir.path() +
                                       "Inventory.dat: its stock is taken as 0."});
}

TEST(PriceList, AFailedCompactionStillBuildsTheWorkCopy) {
    PriceDir d;
    d.dir.write("Pricelist.dat", crlf({Apples, Short65}));
    // A folder in the copy's place makes the compaction's rename fail.
    ASSERT_EQ(::mkdir(d.dir.file("Pricelist.new").c_str(), 0700), 0);
    d.dir.write("Pricelist.new/keep", "");
    const Notices tidied = TidyPriceList(d.files);
    PriceWorkPreparation prepared = PreparePriceWork(d.files, d.config);
    EXPECT_FALSE(prepared.priceListError);
    EXPECT_TRUE(prepared.opened);
    EXPECT_EQ(d.dir.read("Pricelist.dat"), crlf({Apples, Short65}));
    EXPECT_EQ(d.dir.read("Pricelist.wrk").substr(0, ApplesWork.size()), ApplesWork);
    EXPECT_TRUE(prepared.notices.empty());
    ASSERT_EQ(noticeTexts(tidied).size(), 1u);
    EXPECT_EQ(tidied[0].text.rfind("I/O error in file " + d.dir.path() + "Pricelist.new", 0), 0u);
}

// Only a list that is not there at all is offered as a sample; one that is
// there but cannot be read would only get a sample line appended.
TEST(PriceList, OnlyAListThatIsNotThereAtAllIsMissing) {
    struct Case {
        const char* name;
        const char* file; // nullptr: none
        bool folder;
        bool missing;
    };
    const Case cases[] = {
        {"no list", nullptr, false, true},
        {"another spelling", "PRICELIST.DAT", false, false},
        {"a folder by its name", "Pricelist.dat", true, false},
    };
    for (const Case& c : cases) {
        PriceDir d;
        if (c.file && c.folder) std::filesystem::create_directory(d.dir.file(c.file));
        if (c.file && !c.folder) d.dir.write(c.file, crlf({Apples}));
        EXPECT_EQ(PriceListMissing(d.files), c.missing) << c.name;
    }
    // Without a list there is no work copy and nothing more to tell.
    PriceDir d;
    PriceWorkPreparation prepared = PreparePriceWork(d.files, d.config);
    EXPECT_FALSE(prepared.opened);
    EXPECT_TRUE(prepared.notices.empty());
    EXPECT_FALSE(d.dir.exists("Pricelist.wrk"));
}

TEST(PriceList, AWorkCopyThatCannotBeWrittenIsToldAfterTheFaultyLines) {
    PriceDir d;
    d.dir.write("Pricelist.dat", crlf({LettersInPrice, Apples}));
    // Every write to the work copy fails, as on a full disk.
    std::filesystem::create_symlink("/dev/full", d.dir.file("Pricelist.wrk"));
    PriceWorkPreparation prepared = PreparePriceWork(d.files, d.config);
    EXPECT_TRUE(prepared.opened);
    EXPECT_FALSE(d.dir.heldOpen("Pricelist.dat"));
    const std::vector<std::string> told = noticeTexts(prepared.notices);
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[0], LoaderMessage);
    EXPECT_EQ(told[1].rfind("I/O error in file " + d.dir.file("Pricelist.wrk"), 0), 0u);
}

// What a search leaves in the current article: the whole article on a hit;
// on a miss only the marker and code of the last line read, if any.
TEST(PriceList, FindArticle) {
    auto shown = [](const CurrentArticle& a) {
        return a.ArticleMarker + a.ArticleCode + "|" + a.ArticleDescription + "|" +
               FixedText(a.WholesalePrice) + "|" + FixedText(a.SalePrice) + "|" +
               std::to_string(a.StockLevel) + "|" + std::to_string(a.StockOnHand);
    };
    const std::string list = crlf(
        {" abc           Apples lower                     0.10       0.20     1    1", ApplesWork,
         " ABC           Apples green                     1.30       2.70     8    4",
         "$RENT          Shop rent                        0.00     500.00     0    7"});
    const std::string damaged = crlf(
        {" ABC           Apples red                       1.2x       2.50    10    0", BreadWork});
    // A miss leaves a code no entry can equal, so a stale hit cannot count as found.
    const std::string kept = "|Kept|0.00|9.99|0|0";
    struct Case {
        std::string work; // "-": no work copy
        std::string code, found;
    };
    const Case cases[] = {
        {list, "ABC          ", " ABC          |Apples red                |1.20|2.50|10|0"},
        {list, "abc          ", " abc          |Apples lower              |0.10|0.20|1|1"},
        {list, "RENT         ", "$RENT         |Shop rent                 |0.00|500.00|0|7"},
        {list, "Abc          ", "$RENT         " + kept},
        {list, "ABC", "$RENT         " + kept},
        {list, "ABC           ", "$RENT         " + kept},
        {"-", "ABC          ", " " + kept},
        {"", "ABC          ", " " + kept},
        {damaged, "ABC          ", " " + kept},
        {damaged, "4000000000017", " 4000000000017|Bread white               |0.80|1.95|5|0"},
        {crlf({" ABC           Apples red                       1.20       2.50    10 123456"}),
         "ABC          ", " ABC          |Apples red                |1.20|2.50|10|123456"},
    };
    for (const Case& c : cases) {
        PriceDir d;
        if (c.work != "-") d.dir.write("Pricelist.wrk", c.work);
        CurrentArticle before;
        before.ArticleCode = "stale";
        before.ArticleDescription = "Kept";
        before.SalePrice = 9.99;
        EXPECT_EQ(shown(d.find(c.code, before)), c.found) << c.code;
    }
}
