#include "pricelist/PriceList.h"

#include "store/AmountText.h"
#include "store/Configuration.h"
#include "store/DataFiles.h"
#include "store/ProgramState.h"
#include "support/CaseTable.h"
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
const std::string Apples = " ABC           Apples red                       1.20       2.50 10";
const std::string Bread = " 4000000000017 Bread white                      0.80       1.95  5";
const std::string LettersInPrice =
    " BAD1          Letters in price                 1.2O       2.50  1";
const std::string Short65 = " SHORT         Sixty-five characters only       1.00       1.00 1";

// Work copy lines, 74 characters each.
const std::string ApplesWork =
    " ABC           Apples red                       1.20       2.50    10    0";
const std::string BreadWork =
    " 4000000000017 Bread white                      0.80       1.95     5    0";
const std::string RentWork =
    "$RENT          Shop rent                        0.00     500.00     0    0";

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

TEST(PriceList, CompactionKeepsEveryLineOf66CharactersOrMore) {
    for (const TestCase& c : ReadCases("pricelist/compaction.cases")) {
        SCOPED_TRACE(c.where + " " + c.name);
        PriceDir d;
        for (const auto& [name, bytes] : c.files("before"))
            d.dir.write(name, bytes);
        CompactPriceList(d.files);
        EXPECT_EQ(d.dir.files(), c.files("after"));
        EXPECT_FALSE(d.dir.heldOpen("Pricelist.dat"));
        EXPECT_FALSE(PriceListMissing(d.files));
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
    for (const TestCase& c : ReadCases("pricelist/work-copy.cases")) {
        SCOPED_TRACE(c.where + " " + c.name);
        PriceDir d;
        d.dir.write("Pricelist.dat", c.crlf("list"));
        EXPECT_EQ(d.build(), c.flag("error"));
        EXPECT_EQ(d.dir.read("Pricelist.wrk"), c.crlf("work"));
        EXPECT_EQ(
            noticeTexts(d.notices),
            std::vector<std::string>(static_cast<size_t>(c.number("messages")), LoaderMessage));
    }
}

TEST(PriceList, WorkCopyTakesTheStockLineByLineFromTheInventory) {
    for (const TestCase& c : ReadCases("pricelist/work-stock.cases")) {
        SCOPED_TRACE(c.where + " " + c.name);
        PriceDir d;
        d.config.InventoryOn = c.get("inventory", "on") == "on";
        d.dir.write("Pricelist.dat", c.crlf("list"));
        if (c.sections.count("inventory")) d.dir.write("Inventory.dat", c.crlf("inventory"));
        d.build();
        EXPECT_EQ(d.dir.read("Pricelist.wrk"), c.crlf("work"));
        EXPECT_FALSE(d.dir.heldOpen("Inventory.dat"));
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

TEST(PriceList, FindArticle) {
    auto shown = [](const CurrentArticle& a) {
        return a.ArticleMarker + a.ArticleCode + "|" + a.ArticleDescription + "|" +
               FixedText(a.WholesalePrice) + "|" + FixedText(a.SalePrice) + "|" +
               std::to_string(a.StockLevel) + "|" + std::to_string(a.StockOnHand);
    };
    std::vector<TestCase> cases = ReadCases("pricelist/find-article.cases");
    const TestCase works = cases.front();
    for (const TestCase& c : std::vector<TestCase>(cases.begin() + 1, cases.end())) {
        PriceDir d;
        if (c["work"] != "none") d.dir.write("Pricelist.wrk", works.crlf(c["work"]));
        CurrentArticle before;
        before.ArticleCode = "stale";
        before.ArticleDescription = "Kept";
        before.SalePrice = 9.99;
        EXPECT_EQ(shown(d.find(c["code"], before)), c["found"]) << c.where;
    }
}
