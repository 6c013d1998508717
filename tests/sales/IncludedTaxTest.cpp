#include "pricelist/CurrentArticle.h"
#include "sales/SaleArithmetic.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

// Shelf prices that include the tax: the customer pays the price list's
// price, the tax is the part of it that is tax, and the takings record gets
// the line without its tax.

namespace {

const RegionalFormats Formats = FixedRegional().formats();
const std::string Mug = "Coffee mug                ";

Configuration inclusiveShop(double taxRate, const std::string& rounding = "N") {
    Configuration c;
    c.TaxRate = taxRate;
    c.Rounding = rounding;
    c.DiscountLow = 15;
    c.LabelTotal = "Total";
    DeriveSwitches(c);
    c.PricesIncludeTax = true;
    return c;
}

} // namespace

TEST(IncludedTax, LinesAndWhatTheirRecordsHold) {
    struct Case {
        const char* name;
        double taxRate, discount, price, quantity;
        bool returnMode;
        double unitPrice, lineAmount, lineTax;
        RecordedPrices recorded;
        std::string journal; // after the description
    };
    // clang-format off
    const Case cases[] = {
        {"two bottles at 3.60 hold 0.65 tax", 10, 0, 3.60, 2, false, 3.60, 7.20, 0.65,
         {3.28, 3.28, 6.55}, "      $3.60 x      2 =      $7.20 incl  $0.65"},
        {"the discount comes off the shelf price", 10, 15, 9.99, 2, false, 8.50, 17.00, 1.54,
         {9.09, 7.73, 15.46}, "      $8.50 x      2 =     $17.00 incl  $1.54"},
        {"a return is computed positive, then negated", 10, 0, 11.00, 1, true, -11.00, -11.00,
         -1.00, {-10.00, -10.00, -10.00}, "    -$11.00 x     -1 =    -$11.00 incl -$1.00"},
        {"a whole cent the division falls short of", 5, 0, 1.89, 1, false, 1.89, 1.89, 0.09,
         {1.80, 1.80, 1.80}, "      $1.89 x      1 =      $1.89 incl  $0.09"},
        {"a quantity with decimals", 10, 0, 2.50, 1.5, false, 2.50, 3.75, 0.34,
         {2.28, 2.28, 3.41}, "      $2.50 x    1.5 =      $3.75 incl  $0.34"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Configuration config = inclusiveShop(c.taxRate);
        CurrentArticle article;
        article.ArticleDescription = Mug;
        article.SalePrice = c.price;
        SaleState sale;
        sale.Quantity = c.quantity;
        sale.DiscountPercent = c.discount;
        sale.ReturnMode = c.returnMode;
        LineResult line = ComputeLine(config, Formats, article, sale);
        EXPECT_NEAR(sale.UnitPrice, c.unitPrice, 1e-9);
        EXPECT_NEAR(sale.LineAmount, c.lineAmount, 1e-9);
        EXPECT_NEAR(line.lineTax, c.lineTax, 1e-9);
        EXPECT_NEAR(line.recorded.salePrice, c.recorded.salePrice, 1e-9);
        EXPECT_NEAR(line.recorded.unitPrice, c.recorded.unitPrice, 1e-9);
        EXPECT_NEAR(line.recorded.lineAmount, c.recorded.lineAmount, 1e-9);
        EXPECT_EQ(line.journalLine, "  " + Mug + " " + c.journal);
        // The running total is what the customer pays: the tax is in it.
        EXPECT_NEAR(sale.SaleTotal, c.lineAmount, 1e-9);
        EXPECT_NEAR(sale.LineTaxSum, c.lineTax, 1e-9);
        EXPECT_NEAR(RunningTotal(sale, config), c.lineAmount, 1e-9);
    }
}

TEST(IncludedTax, NoRateAndRefusedLines) {
    // A tax rate of 0 has nothing to take out: the shelf price is recorded.
    Configuration config = inclusiveShop(0);
    CurrentArticle article;
    article.ArticleDescription = Mug;
    article.SalePrice = 4.50;
    SaleState sale;
    sale.Quantity = 1;
    LineResult line = ComputeLine(config, Formats, article, sale);
    EXPECT_EQ(line.lineTax, 0);
    EXPECT_NEAR(line.recorded.lineAmount, 4.50, 1e-9);
    EXPECT_EQ(line.journalLine, "     " + Mug + "  " + "      $4.50    x      1   =      $4.50");

    // Over the limit: the record keeps the unit price without its tax, and zeros.
    config = inclusiveShop(10);
    article.SalePrice = 9999999.99;
    sale = SaleState{};
    sale.Quantity = 2;
    line = ComputeLine(config, Formats, article, sale);
    EXPECT_TRUE(line.refused);
    EXPECT_EQ(line.recorded.salePrice, 0);
    EXPECT_NEAR(line.recorded.unitPrice, 9090909.09, 1e-6);
    EXPECT_EQ(line.recorded.lineAmount, 0);
}

TEST(IncludedTax, TotalsShowTheTaxWithoutAddingIt) {
    const std::string dashes = "  " + std::string(72, '-');
    const std::string in26(26, ' ');
    struct Case {
        const char* name;
        const char* rounding;
        double subtotal, lineTaxSum, saleTotal, roundingAmount;
        std::vector<std::string> lines;
    };
    // clang-format off
    const Case cases[] = {
        {"without rounding", "N", 7.20, 0.65, 7.20, 0,
         {dashes, in26 + "SUBTOTAL        =      $7.20", in26 + "TAX incl.       =      $0.65",
          in26 + "TOTAL           =      $7.20"}},
        {"R takes 4 up", "R", 7.24, 0.65, 7.25, 0.01,
         {dashes, in26 + "SUBTOTAL        =      $7.24", in26 + "TAX incl.       =      $0.65",
          in26 + "ROUNDING        =      $0.01", in26 + "TOTAL           =      $7.25"}},
        {"r takes 4 down", "r", 7.24, 0.65, 7.20, -0.04,
         {dashes, in26 + "SUBTOTAL        =      $7.24", in26 + "TAX incl.       =      $0.65",
          in26 + "ROUNDING        =     -$0.04", in26 + "TOTAL           =      $7.20"}},
        {"a refund rounds on its magnitude", "r", -12.36, -1.12, -12.35, 0.01,
         {dashes, in26 + "SUBTOTAL        =    -$12.36", in26 + "TAX incl.       =     -$1.12",
          in26 + "ROUNDING        =      $0.01", in26 + "TOTAL           =    -$12.35"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Configuration config = inclusiveShop(10, c.rounding);
        SaleState sale;
        sale.SaleSubtotal = sale.SaleTotal = c.subtotal;
        sale.LineTaxSum = c.lineTaxSum;
        TotalsResult totals = ComputeTotals(config, Formats, sale);
        EXPECT_EQ(totals.journalLines, c.lines);
        EXPECT_DOUBLE_EQ(sale.SaleTotal, c.saleTotal);
        EXPECT_DOUBLE_EQ(sale.SaleTax, c.lineTaxSum);
        EXPECT_NEAR(sale.RoundingAmount, c.roundingAmount, 1e-9);
    }
}
