#include "devices/DocketFile.h"
#include "devices/DocketLines.h"
#include "pricelist/CurrentArticle.h"
#include "store/Configuration.h"
#include "support/TestDir.h"
#include "till/SaleState.h"

#include <gtest/gtest.h>

namespace {

std::string dashes(size_t n) {
    return std::string(n, '-');
}
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
              "4" + sp(20) + "Coffee  2.00 x       1.50       3.00", "4" + dashes(40),
              "4" + sp(34) + "Total" + sp(13) + "3.00", "5   Cash Tender  " + sp(9) + "5.00",
              "5" + sp(8) + "Change  " + sp(9) + "2.00", "6 Served by Anna      at 9:05 07/12/26",
              "7Thank you", "8Corner Shop", "9Call again"}));
}

TEST_F(DocketFixture, NarrowArticleLines) {
    sale.Quantity = 2;
    sale.UnitPrice = 1.5;
    sale.LineAmount = 3;
    struct Case {
        long width;
        std::string description;
        std::string first, second;
    } cases[] = {
        {34, "Coffee", "4" + sp(14) + "Coffee " + sp(6) + "1.50",
         "4" + sp(3) + "  2.00 x " + sp(6) + "1.50" + sp(8) + "3.00"},
        {39, "Coffee large with milk", "4Coffee large with mi " + sp(6) + "1.50",
         "4" + sp(8) + "  2.00 x " + sp(6) + "1.50" + sp(8) + "3.00"},
        // Narrower than the amounts: no blanks in front, nothing cut.
        {30, "Tea", "4" + sp(17) + "Tea " + sp(6) + "1.50",
         "4  2.00 x " + sp(6) + "1.50" + sp(8) + "3.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        setWidth(c.width);
        article.ArticleDescription = c.description;
        auto lines = DocketLines::articleLines(config, article, sale);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0], c.first);
        EXPECT_EQ(lines[1], c.second);
    }
}

TEST_F(DocketFixture, TotalsOfEveryKind) {
    const std::string wideSubtotalTax =
        "4   Subtotal" + sp(9) + "10.00" + sp(9) + "Tax" + sp(5) + sp(10) + "1.50";
    const std::string narrowRounding = "4-Round   -0.02  " + sp(3) + "Total" + sp(7) + "11.48";
    const std::string narrowSubtotalTax =
        "4Subtot" + sp(6) + "10.00" + "  " + "   Tax" + sp(7) + "1.50";
    // Shelf prices that include the tax: 7.20 with 0.65 in it, or 11.20 with
    // 0.70 in it at two rates.
    const std::vector<RateTax> twoRates = {{0, 0}, {12.5, 0.70}};
    struct Case {
        const char* name;
        long width;
        bool tax, rounding;
        std::vector<std::string> lines;
        bool included = false;
        std::vector<RateTax> byRate = {};
    };
    // clang-format off
    const Case cases[] = {
        {"wide tax rounding", 40, true, true, {"4" + dashes(40), wideSubtotalTax,
          "4  -Rounding" + sp(9) + "-0.02" + sp(9) + "Total" + sp(12) + "11.48"}},
        {"wide tax", 40, true, false, {"4" + dashes(40), wideSubtotalTax,
          "4" + sp(37) + "Total" + sp(9) + "11.48"}},
        {"wide rounding", 40, false, true, {"4" + dashes(40),
          "4   Subtotal" + sp(9) + "10.00" + sp(8) + "-Rounding" + sp(9) + "-0.02",
          "4" + sp(34) + "Total" + sp(12) + "11.48"}},
        {"wide plain", 40, false, false, {"4" + dashes(40),
          "4" + sp(34) + "Total" + sp(12) + "11.48"}},
        {"narrow tax rounding", 36, true, true, {"4" + dashes(20), narrowSubtotalTax,
          narrowRounding}},
        {"narrow tax", 36, true, false, {"4" + dashes(20), narrowSubtotalTax,
          "4  " + sp(15) + "Total" + sp(9) + "11.48"}},
        {"narrow rounding", 36, false, true, {"4" + dashes(20),
          "4  " + sp(16) + "Total" + sp(8) + "11.48", narrowRounding}},
        {"narrow plain", 34, false, false, {"4" + dashes(18),
          "4" + sp(16) + "Total" + sp(8) + "11.48"}},
        // Included tax is said where the line has room.
        {"wide included", 40, true, false, {"4" + dashes(40),
          "4   Subtotal" + sp(10) + "7.20" + sp(8) + "Tax incl." + sp(10) + "0.65",
          "4" + sp(37) + "Total" + sp(10) + "7.20"}, true},
        {"narrow included", 36, true, false, {"4" + dashes(20),
          "4Subtot" + sp(7) + "7.20" + "  " + "   Tax" + sp(7) + "0.65",
          "4  " + sp(15) + "Total" + sp(10) + "7.20"}, true},
        // Tax at several rates is listed under the tax line; one rate says no more.
        {"wide rates", 40, true, false, {"4" + dashes(40),
          "4   Subtotal" + sp(9) + "11.20" + sp(8) + "Tax incl." + sp(10) + "0.70",
          "4" + sp(36) + "Tax 0%" + sp(10) + "0.00", "4" + sp(33) + "Tax 12.5%" + sp(10) + "0.70",
          "4" + sp(37) + "Total" + sp(9) + "11.20"}, true, twoRates},
        {"narrow rates", 36, true, false, {"4" + dashes(20),
          "4Subtot" + sp(6) + "11.20" + "  " + "   Tax" + sp(7) + "0.70",
          "4  " + sp(17) + "Tax 0%" + sp(7) + "0.00", "4  " + sp(14) + "Tax 12.5%" + sp(7) + "0.70",
          "4  " + sp(15) + "Total" + sp(9) + "11.20"}, true, twoRates},
        {"one rate", 40, true, false, {"4" + dashes(40),
          "4   Subtotal" + sp(9) + "11.20" + sp(8) + "Tax incl." + sp(10) + "0.70",
          "4" + sp(37) + "Total" + sp(9) + "11.20"}, true, {{12.5, 0.70}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setWidth(c.width);
        setSwitches(c.tax, c.rounding);
        config.PricesIncludeTax = c.included;
        const bool rates = !c.byRate.empty();
        sale.SaleSubtotal = c.included ? (rates ? 11.20 : 7.20) : 10;
        sale.LineTaxSum = c.included ? (rates ? 0.70 : 0.65) : 1.5;
        sale.RoundingAmount = c.included ? 0 : -0.02;
        sale.SaleTotal = c.included ? sale.SaleSubtotal : 11.48;
        sale.TaxByRate = c.byRate;
        EXPECT_EQ(DocketLines::totalLines(config, sale), c.lines);
    }
}

TEST_F(DocketFixture, ExpenseTotals) {
    sale.InExpenseScreen = true;
    sale.LineAmount = 20;
    sale.LineTaxSum = 3;
    sale.SaleTotal = 23;
    sale.RoundingAmount = 0.05; // an expense is never rounded
    struct Case {
        const char* name;
        long width;
        bool tax;
        std::vector<std::string> lines;
    };
    // clang-format off
    const Case cases[] = {
        {"wide", 40, false, {"4" + dashes(40), "4" + sp(15) + "Expense Total" + sp(9) + "20.00"}},
        {"wide tax", 40, true, {"4" + dashes(40), "4" + sp(15) + "Expense Total" + sp(9) + "20.00",
          "4" + sp(25) + "Tax" + sp(10) + "3.00", "4" + sp(23) + "Total" + sp(9) + "23.00"}},
        {"narrow tax", 36, true, {"4" + dashes(20), "4" + sp(7) + "Expense Total" + sp(9) + "20.00",
          "4" + sp(17) + "Tax" + sp(10) + "3.00", "4" + sp(15) + "Total" + sp(9) + "23.00"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setWidth(c.width);
        setSwitches(c.tax, true);
        EXPECT_EQ(DocketLines::totalLines(config, sale), c.lines);
    }
}

TEST_F(DocketFixture, TenderLines) {
    struct Case {
        long width;
        double credit, cheque, cash, change;
        std::vector<std::string> lines;
    };
    // clang-format off
    const Case cases[] = {
        // A credit of 0 and a negative cash amount (a refund) print nothing.
        {40, 0, 0, 5, 2, {"5   Cash Tender  " + sp(9) + "5.00", "5" + sp(8) + "Change  " + sp(9) + "2.00"}},
        {40, 0, 0, -4, 0, {"5" + sp(8) + "Change  " + sp(9) + "0.00"}},
        {34, 3, 2.5, 1, 0.5, {"5 Credit Tender" + sp(9) + "3.00", "5 Cheque Tender" + sp(9) + "2.50",
          "5   Cash Tender" + sp(9) + "1.00", "5" + sp(8) + "Change" + sp(9) + "0.50"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        setWidth(c.width);
        sale.PaidCredit = c.credit;
        sale.PaidCheque = c.cheque;
        sale.PaidCash = c.cash;
        sale.ChangeDue = c.change;
        EXPECT_EQ(DocketLines::tenderLines(config, sale), c.lines);
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
