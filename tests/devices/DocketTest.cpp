#include "devices/DocketFile.h"
#include "devices/DocketLines.h"
#include "pricelist/CurrentArticle.h"
#include "store/Configuration.h"
#include "support/CaseTable.h"
#include "support/TestDir.h"
#include "till/SaleState.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct DocketFixture : ::testing::Test {
    TestDir dir;
    std::string dataDir = dir.path();
    Configuration config;
    CurrentArticle article;
    SaleState sale;
    DocketFile docket;

    DocketFixture() {
        config = DefaultConfiguration();
        config.SalesPersonName[0] = "Anna";
        const char* texts[] = {"", "Corner Shop", "1 Main St",   "Tel 555",   "", "",
                               "", "Thank you",   "Corner Shop", "Call again"};
        for (size_t row = 0; row < 10; ++row)
            config.DocketText[row] = texts[row];
        config.PushOut = 0;
        setWidth(40);
    }
    void setWidth(long width) {
        config.PrintWidth = width;
        DeriveSwitches(config);
    }
    void setSwitches(bool tax, bool rounding) {
        config.TaxRate = tax ? 15 : 0;
        config.Rounding = rounding ? "R" : "N";
        DeriveSwitches(config);
    }
};

TEST_F(DocketFixture, WholeWideSaleDocket) {
    ASSERT_TRUE(docket.StartDocket(dataDir, config));
    EXPECT_TRUE(docket.isOpen());
    article.ArticleDescription = "Coffee";
    sale.Quantity = 2;
    sale.UnitPrice = 1.5;
    sale.LineAmount = 3;
    docket.WriteDocketLine(config, article, sale);
    sale.SaleTotal = 3;
    sale.PaidCash = 5;
    sale.ChangeDue = 2;
    sale.CurrentSalesPerson = "A";
    docket.WriteDocketTotals(config, sale, "9:05", "07/12/26");
    // The last docket stays whole until the new one is finished.
    EXPECT_FALSE(dir.exists("Docket.Prn"));
    docket.FinishDocket(config);
    EXPECT_FALSE(docket.isOpen());

    EXPECT_EQ(
        dir.read("Docket.Prn"),
        crlf({"1Corner Shop", "21 Main St", "3Tel 555",
              "4" + sp(20) + "Coffee  2.00 x       1.50       3.00", "4" + std::string(40, '-'),
              "4" + sp(34) + "Total" + sp(13) + "3.00", "5   Cash Tender  " + sp(9) + "5.00",
              "5" + sp(8) + "Change  " + sp(9) + "2.00", "6 Served by Anna      at 9:05 07/12/26",
              "7Thank you", "8Corner Shop", "9Call again"}));
}

TEST_F(DocketFixture, NarrowArticleLines) {
    sale.Quantity = 2;
    sale.UnitPrice = 1.5;
    sale.LineAmount = 3;
    for (const TestCase& c : ReadCases("devices/docket-article.cases")) {
        SCOPED_TRACE(c.where);
        setWidth(static_cast<long>(c.number("width")));
        article.ArticleDescription = c["description"];
        EXPECT_EQ(DocketLines::articleLines(config, article, sale), c.lines("lines"));
    }
}

TEST_F(DocketFixture, TotalsOfEveryKind) {
    for (const TestCase& c : ReadCases("devices/docket-totals.cases")) {
        SCOPED_TRACE(c.where + " " + c.name);
        setWidth(static_cast<long>(c.number("width")));
        setSwitches(c.flag("tax"), c.flag("rounding"));
        config.PricesIncludeTax = c.flag("included");
        std::vector<RateTax> rates;
        std::istringstream pairs(c.get("rates", ""));
        for (std::string rate, tax; std::getline(pairs, rate, ':') && pairs >> tax;
             pairs >> std::ws)
            rates.push_back({std::stod(rate), std::stod(tax)});
        const bool included = config.PricesIncludeTax;
        sale.SaleSubtotal = included ? (rates.empty() ? 7.20 : 11.20) : 10;
        sale.LineTaxSum = included ? (rates.empty() ? 0.65 : 0.70) : 1.5;
        sale.RoundingAmount = included ? 0 : -0.02;
        sale.SaleTotal = included ? sale.SaleSubtotal : 11.48;
        sale.TaxByRate = rates;
        EXPECT_EQ(DocketLines::totalLines(config, sale), c.lines("lines"));
    }
}

TEST_F(DocketFixture, ExpenseTotals) {
    sale.InExpenseScreen = true;
    sale.LineAmount = 20;
    sale.LineTaxSum = 3;
    sale.SaleTotal = 23;
    sale.RoundingAmount = 0.05; // an expense is never rounded
    for (const TestCase& c : ReadCases("devices/docket-expense.cases")) {
        SCOPED_TRACE(c.where);
        setWidth(static_cast<long>(c.number("width")));
        setSwitches(c.flag("tax"), true);
        EXPECT_EQ(DocketLines::totalLines(config, sale), c.lines("lines"));
    }
}

TEST_F(DocketFixture, TenderLines) {
    for (const TestCase& c : ReadCases("devices/docket-tender.cases")) {
        SCOPED_TRACE(c.where);
        setWidth(static_cast<long>(c.number("width")));
        sale.PaidCredit = c.number("credit");
        sale.PaidCheque = c.number("cheque");
        sale.PaidCash = c.number("cash");
        sale.ChangeDue = c.number("change");
        EXPECT_EQ(DocketLines::tenderLines(config, sale), c.lines("lines"));
    }
}

TEST_F(DocketFixture, ServedByLine) {
    // An expense docket before any screen has set the date: time and a blank.
    setWidth(34);
    EXPECT_EQ(DocketLines::servedByLine(config, "Anna", "9:05", ""), "6 Served by Anna      9:05 ");
    // An unknown code keeps the name of the last docket.
    EXPECT_EQ(DocketLines::servedByName(config, "Z", "Bert"), "Bert");
}

TEST_F(DocketFixture, PushOutFeedsBlankLines) {
    config.PushOut = 2;
    ASSERT_TRUE(docket.StartDocket(dataDir, config));
    docket.FinishDocket(config);
    EXPECT_EQ(dir.read("Docket.Prn"),
              crlf({"1Corner Shop", "21 Main St", "3Tel 555", "7Thank you", "8Corner Shop",
                    "9Call again", "4" + sp(20), "4" + sp(20)}));
}

TEST_F(DocketFixture, ExistingDocketKeepsItsNameAndUnwritableDirectoryOpensNothing) {
    dir.write("docket.prn", "4old\r\n");
    ASSERT_TRUE(docket.StartDocket(dataDir, config));
    docket.FinishDocket(config);
    EXPECT_FALSE(dir.exists("Docket.Prn"));
    EXPECT_EQ(dir.read("docket.prn").substr(0, 14), "1Corner Shop\r\n");

    dataDir = dir.file("missing/");
    EXPECT_FALSE(docket.StartDocket(dataDir, config));
    EXPECT_FALSE(docket.isOpen());
}

} // namespace

TEST_F(DocketFixture, TillNumberFollowsTheServedByLine) {
    ASSERT_TRUE(docket.StartDocket(dataDir, config));
    sale.CurrentSalesPerson = "A";
    docket.WriteDocketTotals(config, sale, "9:05", "07/12/26", 12);
    docket.FinishDocket(config);
    const std::string text = dir.read("Docket.Prn");
    EXPECT_NE(text.find("6 Served by Anna      at 9:05 07/12/26\r\n6Till 12\r\n7Thank you"),
              std::string::npos)
        << text;
}
