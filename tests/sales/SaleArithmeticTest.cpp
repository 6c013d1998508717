#include "sales/SaleArithmetic.h"
#include "pricelist/CurrentArticle.h"
#include "sales/Rounding.h"
#include "store/AmountText.h"
#include "support/CaseTable.h"
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
    for (const TestCase& c : ReadTable("sales/compute-line.table")) {
        SCOPED_TRACE(c.where + " " + c.name);
        Configuration config = shop(c.number("tax"));
        CurrentArticle article;
        article.ArticleDescription = Mug;
        article.SalePrice = c.number("price");
        article.WholesalePrice = c.number("wholesale");
        SaleState sale;
        sale.SaleTotal = 5.00;
        sale.SaleSubtotal = 5.00;
        sale.LineTaxSum = 0.50;
        sale.DisplayValue = "before";
        sale.Quantity = c.number("quantity");
        sale.DiscountPercent = c.number("discount");
        sale.ReturnMode = c.flag("return");

        LineResult r = ComputeLine(config, Formats, article, sale);

        EXPECT_EQ(r.refused, c.flag("refused"));
        EXPECT_EQ(r.journalLine, c["journal"]);
        EXPECT_DOUBLE_EQ(sale.UnitPrice, c.number("unit"));
        EXPECT_DOUBLE_EQ(sale.LineAmount, c.number("amount"));
        EXPECT_DOUBLE_EQ(r.lineTax, c.number("lineTax"));
        EXPECT_DOUBLE_EQ(sale.Quantity, c.number("quantityAfter"));
        EXPECT_DOUBLE_EQ(article.WholesalePrice, c.number("wholesaleAfter"));
        EXPECT_DOUBLE_EQ(article.SalePrice, c.number("priceAfter"));
        EXPECT_EQ(FixedText(sale.SaleTotal), c["saleTotal"]);
        EXPECT_EQ(FixedText(sale.SaleSubtotal), c["saleTotal"]);
        EXPECT_EQ(FixedText(sale.LineTaxSum), c["lineTaxSum"]);
        EXPECT_EQ(sale.DisplayValue, c["display"]);
        EXPECT_EQ(sale.DisplayText, c.flag("refused") ? "" : Mug);
    }
}

TEST(ComputeTotals, BlockLinesAndAmountToPay) {
    for (const TestCase& c : ReadCases("sales/totals.cases")) {
        SCOPED_TRACE(c.where + " " + c.name);
        Configuration config = shop(c.number("tax"), c["rounding"], c.flag("included"));
        SaleState sale;
        sale.SaleSubtotal = sale.SaleTotal = c.number("subtotal");
        sale.LineTaxSum = c.number("lineTaxSum");
        TotalsResult totals = ComputeTotals(config, Formats, sale);
        EXPECT_EQ(totals.journalLines, c.lines("journal"));
        EXPECT_DOUBLE_EQ(sale.SaleTotal, c.number("saleTotal"));
        EXPECT_DOUBLE_EQ(sale.SaleTax, c.number("saleTax"));
        EXPECT_NEAR(sale.RoundingAmount, c.number("roundingAmount"), 1e-9);
        EXPECT_EQ(sale.DisplayValue, c["display"]);
        EXPECT_EQ(sale.DisplayText, "Total          ");
        EXPECT_TRUE(totals.notices.empty());
    }
}

TEST(RoundToDenomination, FiveCentsBothWays) {
    for (const TestCase& c : ReadTable("sales/rounding.table")) {
        SCOPED_TRACE(c.where);
        SaleState sale;
        sale.SaleTotal = c.number("total");
        EXPECT_TRUE(RoundToDenomination(shop(0, c["rounding"]), sale));
        EXPECT_EQ(FixedText(sale.SaleTotal), c["newTotal"]);
        EXPECT_NEAR(sale.RoundingAmount, c.number("adjustment"), 1e-9);
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
    for (const TestCase& c : ReadTable("sales/included-tax.table")) {
        SCOPED_TRACE(c.where + " " + c.name);
        Configuration config = shop(c.number("tax"), "N", true);
        CurrentArticle article;
        article.ArticleDescription = Mug;
        article.SalePrice = c.number("price");
        SaleState sale;
        sale.Quantity = c.number("quantity");
        sale.DiscountPercent = c.number("discount");
        sale.ReturnMode = c.flag("return");
        LineResult line = ComputeLine(config, Formats, article, sale);
        EXPECT_EQ(line.refused, c["journal"].empty());
        EXPECT_NEAR(sale.UnitPrice, c.number("unit"), 1e-9);
        EXPECT_NEAR(sale.LineAmount, c.number("amount"), 1e-9);
        EXPECT_NEAR(line.lineTax, c.number("lineTax"), 1e-9);
        EXPECT_NEAR(line.recorded.salePrice, c.number("recordedSale"), 1e-6);
        EXPECT_NEAR(line.recorded.unitPrice, c.number("recordedUnit"), 1e-6);
        EXPECT_NEAR(line.recorded.lineAmount, c.number("recordedAmount"), 1e-6);
        EXPECT_EQ(line.journalLine, c["journal"]);
        // The running total is what the customer pays: the tax is in it.
        EXPECT_NEAR(sale.SaleTotal, c.number("amount"), 1e-9);
        EXPECT_NEAR(sale.LineTaxSum, c.number("lineTax"), 1e-9);
        EXPECT_NEAR(RunningTotal(sale, config), c.number("amount"), 1e-9);
    }
}
