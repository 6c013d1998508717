#include "sales/SaleArithmetic.h"
#include "pricelist/CurrentArticle.h"
#include "sales/Rounding.h"
#include "store/AmountText.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

const RegionalFormats Formats = FixedRegional().formats();
// Descriptions come from the price list padded to 26 characters.
const std::string Mug = "Coffee mug                ";

Configuration shop(double taxRate, const std::string& rounding = "N", bool included = false) {
    Configuration c;
    c.TaxRate = taxRate;
    c.Rounding = rounding;
    c.DiscountLow = 15;
    c.LabelTotal = "Total";
    c.LabelChange = "Change";
    DeriveSwitches(c);
    c.PricesIncludeTax = included;
    return c;
}

} // namespace

TEST(ComputeLine, AmountsTaxAndJournalLine) {
    struct Case {
        const char* name;
        double taxRate, discount, price, wholesale, quantity;
        bool returnMode;
        bool refused;
        double unitPrice, lineAmount, lineTax, quantityAfter, wholesaleAfter, priceAfter;
        std::string journal;
        // Running totals, starting from a sale at 5.00 with 0.50 tax so far.
        const char* saleTotal;
        const char* lineTaxSum;
        const char* displayValue;
    };
    const Case cases[] = {
        {"discount takes whole cents, tax is cut", 10, 15, 9.99, 6.00, 2, false, false, 8.50, 17.00,
         1.70, 2, 6.00, 9.99, "  " + Mug + " " + "      $8.50 x      2 =     $17.00 +     $1.70",
         "22.00", "2.20", "$22.00"},
        {"0.99 at 10 % carries 0.09 tax", 10, 0, 0.99, 0.50, 1, false, false, 0.99, 0.99, 0.09, 1,
         0.50, 0.99, "  " + Mug + " " + "      $0.99 x      1 =      $0.99 +     $0.09", "5.99",
         "0.59", "$5.99"},
        {"quantity 0 is still journalled", 0, 0, 4.50, 2.00, 0, false, false, 4.50, 0, 0, 0, 2.00,
         4.50, "     " + Mug + "  " + "      $4.50    x      0   =      $0.00", "5.00", "0.50",
         "$5.00"},
        {"return line with tax", 10, 0, 10.00, 6.00, 1, true, false, -10.00, -10.00, -1.00, -1,
         -6.00, -10.00, "  " + Mug + " " + "    -$10.00 x     -1 =    -$10.00 +    -$1.00", "-5.00",
         "-0.50", "-$5.00"},
        {"return discounted on positive values", 0, 15, 9.99, 6.00, 2, true, false, -8.50, -17.00,
         0, -2, -6.00, -9.99, "     " + Mug + "  " + "     -$8.50    x     -2   =    -$17.00",
         "-12.00", "0.50", "-$12.00"},
        {"over the limit is refused", 10, 0, 9999999.99, 6.00, 2, false, true, 9999999.99, 0, 0, 2,
         6.00, 0, "", "5.00", "0.50", "before"},
        {"a refused return is not negated", 10, 0, 9999999.99, 6.00, 2, true, true, 9999999.99, 0,
         0, 2, 6.00, 0, "", "5.00", "0.50", "before"},
        {"the limit itself passes; wide amounts push", 0, 0, 9999999.99, 6.00, 1, false, false,
         9999999.99, 9999999.99, 0, 1, 6.00, 9999999.99,
         "     " + Mug + "  " + "$9,999,999.99    x      1   =$9,999,999.99", "10000004.99", "0.50",
         "$10,000,004.99"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Configuration config = shop(c.taxRate);
        CurrentArticle article;
        article.ArticleDescription = Mug;
        article.SalePrice = c.price;
        article.WholesalePrice = c.wholesale;
        SaleState sale;
        sale.SaleTotal = 5.00;
        sale.SaleSubtotal = 5.00;
        sale.LineTaxSum = 0.50;
        sale.DisplayValue = "before";
        sale.Quantity = c.quantity;
        sale.DiscountPercent = c.discount;
        sale.ReturnMode = c.returnMode;

        LineResult r = ComputeLine(config, Formats, article, sale);

        EXPECT_EQ(r.refused, c.refused);
        EXPECT_EQ(r.journalLine, c.journal);
        EXPECT_DOUBLE_EQ(sale.UnitPrice, c.unitPrice);
        EXPECT_DOUBLE_EQ(sale.LineAmount, c.lineAmount);
        EXPECT_DOUBLE_EQ(r.lineTax, c.lineTax);
        EXPECT_DOUBLE_EQ(sale.Quantity, c.quantityAfter);
        EXPECT_DOUBLE_EQ(article.WholesalePrice, c.wholesaleAfter);
        EXPECT_DOUBLE_EQ(article.SalePrice, c.priceAfter);
        EXPECT_EQ(FixedText(sale.SaleTotal), c.saleTotal);
        EXPECT_EQ(FixedText(sale.SaleSubtotal), c.saleTotal);
        EXPECT_EQ(FixedText(sale.LineTaxSum), c.lineTaxSum);
        EXPECT_EQ(sale.DisplayValue, c.displayValue);
        EXPECT_EQ(sale.DisplayText, c.refused ? "" : Mug);
    }
}

TEST(ComputeTotals, BlockLinesAndAmountToPay) {
    const std::string dashesTax = "  " + std::string(72, '-');
    const std::string dashesPlain = "     " + std::string(66, '-');
    const std::string in26(26, ' ');
    const std::string in43(43, ' ');
    struct Case {
        const char* name;
        double taxRate;
        const char* rounding;
        double subtotal, lineTaxSum, saleTotal, saleTax, roundingAmount;
        const char* displayValue;
        std::vector<std::string> lines;
        bool included = false; // prices include the tax: shown, not added
    };
    // clang-format off
    const Case cases[] = {
        {"tax and rounding", 10, "R", 11.25, 1.12, 12.35, 1.12, -0.02, "$12.35",
         {dashesTax,
          in26 + "SUBTOTAL        =     $11.25",
          in26 + "TAX             =      $1.12",
          in26 + "TOTAL and TAX   =     $12.37",
          in26 + "ROUNDING        =     -$0.02",
          in26 + "TOTAL           =     $12.35"}},
        {"tax without rounding pays TOTAL and TAX", 10, "N", 17.00, 1.70, 18.70, 1.70, 0, "$18.70",
         {dashesTax,
          in26 + "SUBTOTAL        =     $17.00",
          in26 + "TAX             =      $1.70",
          in26 + "TOTAL and TAX   =     $18.70"}},
        {"rounding without tax", 0, "r", 12.34, 0, 12.30, 0, -0.04, "$12.30",
         {dashesPlain,
          in43 + "SUBTOTAL        =     $12.34",
          in43 + "ROUNDING        =     -$0.04",
          in43 + "TOTAL           =     $12.30"}},
        {"neither tax nor rounding", 0, "N", 18.50, 0, 18.50, 0, 0, "$18.50",
         {dashesPlain,
          in43 + "TOTAL           =     $18.50"}},
        {"a refund rounds on its magnitude", 0, "r", -12.36, 0, -12.35, 0, 0.01, "-$12.35",
         {dashesPlain,
          in43 + "SUBTOTAL        =    -$12.36",
          in43 + "ROUNDING        =      $0.01",
          in43 + "TOTAL           =    -$12.35"}},
        {"past ten million the re-read cuts a cent", 0, "N", 19999999.98, 0, 19999999.9, 0, 0,
         "$19,999,999.90",
         {dashesPlain,
          in43 + "TOTAL           = $19,999,999.98"}},
        {"included tax without rounding", 10, "N", 7.20, 0.65, 7.20, 0.65, 0, "$7.20",
         {dashesTax, in26 + "SUBTOTAL        =      $7.20", in26 + "TAX incl.       =      $0.65",
          in26 + "TOTAL           =      $7.20"}, true},
        {"included tax, R takes 4 up", 10, "R", 7.24, 0.65, 7.25, 0.65, 0.01, "$7.25",
         {dashesTax, in26 + "SUBTOTAL        =      $7.24", in26 + "TAX incl.       =      $0.65",
          in26 + "ROUNDING        =      $0.01", in26 + "TOTAL           =      $7.25"}, true},
        {"included tax, r takes 4 down", 10, "r", 7.24, 0.65, 7.20, 0.65, -0.04, "$7.20",
         {dashesTax, in26 + "SUBTOTAL        =      $7.24", in26 + "TAX incl.       =      $0.65",
          in26 + "ROUNDING        =     -$0.04", in26 + "TOTAL           =      $7.20"}, true},
        {"included tax, a refund rounds on its magnitude", 10, "r", -12.36, -1.12, -12.35, -1.12,
         0.01, "-$12.35",
         {dashesTax, in26 + "SUBTOTAL        =    -$12.36", in26 + "TAX incl.       =     -$1.12",
          in26 + "ROUNDING        =      $0.01", in26 + "TOTAL           =    -$12.35"}, true},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Configuration config = shop(c.taxRate, c.rounding, c.included);
        SaleState sale;
        sale.SaleSubtotal = c.subtotal;
        sale.SaleTotal = c.subtotal;
        sale.LineTaxSum = c.lineTaxSum;
        TotalsResult totals = ComputeTotals(config, Formats, sale);
        EXPECT_EQ(totals.journalLines, c.lines);
        EXPECT_DOUBLE_EQ(sale.SaleTotal, c.saleTotal);
        EXPECT_DOUBLE_EQ(sale.SaleTax, c.saleTax);
        EXPECT_NEAR(sale.RoundingAmount, c.roundingAmount, 1e-9);
        EXPECT_EQ(sale.DisplayValue, c.displayValue);
        EXPECT_EQ(sale.DisplayText, "Total          ");
        EXPECT_TRUE(totals.notices.empty());
    }
}

TEST(RoundToDenomination, FiveCentsBothWays) {
    struct Case {
        double total;
        const char* rounding;
        const char* newTotal;
        double adjustment;
    };
    const Case cases[] = {
        {12.34, "r", "12.30", -0.04},   {12.34, "R", "12.35", 0.01},
        {12.38, "R", "12.35", -0.03},   {12.39, "R", "12.40", 0.01},
        {12.30, "R", "12.30", 0},       {12.35, "r", "12.35", 0},
        {99.99, "R", "100.00", 0.01},   {-12.34, "r", "-12.30", 0.04},
        {-12.34, "R", "-12.35", -0.01}, {-12.36, "R", "-12.35", 0.01},
        {-12.39, "R", "-12.40", -0.01},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.total) + c.rounding);
        SaleState sale;
        sale.SaleTotal = c.total;
        EXPECT_TRUE(RoundToDenomination(shop(0, c.rounding), sale));
        EXPECT_EQ(FixedText(sale.SaleTotal), c.newTotal);
        EXPECT_NEAR(sale.RoundingAmount, c.adjustment, 1e-9);
    }
}

TEST(RoundToDenomination, UnreadableTotalIsReportedAndKept) {
    SaleState sale;
    sale.SaleTotal = std::numeric_limits<double>::infinity();
    sale.RoundingAmount = 3;
    EXPECT_FALSE(RoundToDenomination(shop(0, "R"), sale));
    EXPECT_EQ(sale.SaleTotal, std::numeric_limits<double>::infinity());
    EXPECT_EQ(sale.RoundingAmount, 0);

    // The totals block says so to the operator.
    SaleState unreadable;
    unreadable.SaleSubtotal = unreadable.SaleTotal = std::numeric_limits<double>::infinity();
    TotalsResult totals = ComputeTotals(shop(0, "R"), Formats, unreadable);
    ASSERT_EQ(totals.notices.size(), 1u);
    EXPECT_EQ(totals.notices[0].text, "Math error !");
}

TEST(TakePayment, TendersBalanceChangeAndEndOfSale) {
    enum Tender { Cash, Cheque, Credit };
    struct Payment {
        Tender tender;
        double amount;
        bool covered;
        const char* balance; // after this payment when short
    };
    struct Case {
        const char* name;
        double total;
        std::vector<Payment> payments;
        const char* change;
        const char* cash; // after the change is taken out
        const char* cheque;
        const char* credit;
        const char* received;
        const char* displayValue;
    };
    // clang-format off
    const Case cases[] = {
        {"change of a cheque comes out of the cash", 18.50, {{Cheque, 20, true, ""}},
         "1.50", "-1.50", "20.00", "0.00", "20.00", "$1.50"},
        {"short, then cents that do not add up exactly still cover", 0.90,
         {{Cash, 0.30, false, "-0.60"}, {Credit, 0.60, true, ""}},
         "0.00", "0.30", "0.00", "0.60", "0.90", "$0.00"},
        {"a refund in one payment", -12.34, {{Cash, -12.34, true, ""}},
         "0.00", "-12.34", "0.00", "0.00", "-12.34", "$0.00"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Configuration config = shop(0);
        SaleState sale;
        sale.SaleTotal = c.total;
        for (const Payment& p : c.payments) {
            sale.PayCash = p.tender == Cash;
            sale.PayCheque = p.tender == Cheque;
            sale.PayCredit = p.tender == Credit;
            EXPECT_EQ(TakePayment(sale, p.amount, config, Formats).covered, p.covered);
            if (!p.covered) {
                EXPECT_EQ(FixedText(sale.Balance), p.balance);
            }
        }
        EXPECT_EQ(FixedText(sale.ChangeDue), c.change);
        EXPECT_EQ(sale.DisplayValue, c.displayValue);

        DayTotals day;
        EndSale(sale, day);
        EXPECT_EQ(FixedText(sale.PaidCash), c.cash);
        EXPECT_EQ(FixedText(sale.PaidCheque), c.cheque);
        EXPECT_EQ(FixedText(sale.PaidCredit), c.credit);
        EXPECT_EQ(FixedText(sale.Received), c.received);
        EXPECT_EQ(FixedText(day.TakingsCash), c.cash);
        EXPECT_EQ(FixedText(day.TotalTakings), FixedText(c.total));
    }
}

// Shelf prices that include the tax: the customer pays the price list's
// price, the tax is the part of it that is tax, and the takings record gets
// the line without its tax.

TEST(IncludedTax, LinesAndWhatTheirRecordsHold) {
    struct Case {
        const char* name;
        double taxRate, discount, price, quantity;
        bool returnMode;
        double unitPrice, lineAmount, lineTax;
        RecordedPrices recorded;
        std::string journal; // after "  " and the description; empty: refused
    };
    const std::string noTax = "     " + Mug + "  " + "      $4.50    x      1   =      $4.50";
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
        // A rate of 0 has nothing to take out: the shelf price is recorded.
        {"no rate", 0, 0, 4.50, 1, false, 4.50, 4.50, 0, {4.50, 4.50, 4.50}, noTax},
        // Over the limit: the record keeps the unit price without its tax, and zeros.
        {"refused", 10, 0, 9999999.99, 2, false, 9999999.99, 0, 0, {0, 9090909.09, 0}, ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Configuration config = shop(c.taxRate, "N", true);
        CurrentArticle article;
        article.ArticleDescription = Mug;
        article.SalePrice = c.price;
        SaleState sale;
        sale.Quantity = c.quantity;
        sale.DiscountPercent = c.discount;
        sale.ReturnMode = c.returnMode;
        LineResult line = ComputeLine(config, Formats, article, sale);
        EXPECT_EQ(line.refused, c.journal.empty());
        EXPECT_NEAR(sale.UnitPrice, c.unitPrice, 1e-9);
        EXPECT_NEAR(sale.LineAmount, c.lineAmount, 1e-9);
        EXPECT_NEAR(line.lineTax, c.lineTax, 1e-9);
        EXPECT_NEAR(line.recorded.salePrice, c.recorded.salePrice, 1e-6);
        EXPECT_NEAR(line.recorded.unitPrice, c.recorded.unitPrice, 1e-6);
        EXPECT_NEAR(line.recorded.lineAmount, c.recorded.lineAmount, 1e-6);
        const std::string journal =
            c.journal.empty() || c.taxRate == 0 ? c.journal : "  " + Mug + " " + c.journal;
        EXPECT_EQ(line.journalLine, journal);
        // The running total is what the customer pays: the tax is in it.
        EXPECT_NEAR(sale.SaleTotal, c.lineAmount, 1e-9);
        EXPECT_NEAR(sale.LineTaxSum, c.lineTax, 1e-9);
        EXPECT_NEAR(RunningTotal(sale, config), c.lineAmount, 1e-9);
    }
}
