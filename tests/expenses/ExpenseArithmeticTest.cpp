#include "expenses/ExpenseArithmetic.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

namespace {

const std::string Line = sp(9) + "EXP1" + sp(13) + "Stationery" + sp(16) + sp(5);
const std::string Tax = sp(26) + "Tax" + sp(21);
const std::string TaxIncl = sp(20) + "Tax incl." + sp(21);
const std::string Dashes = sp(9) + std::string(59, '-');

} // namespace

// Every figure of an expense is negative on the records; the day takes sum
// and tax, and the docket shows both.
TEST(ExpenseArithmetic, LinesTotalsAndDay) {
    struct Booked {
        double amount, tax;
        std::string journal, taxJournal;
    };
    struct Case {
        bool taxOn;
        bool included; // the amounts typed are receipts' totals with the tax in them
        std::vector<Booked> lines;
        double sum, tax, total;
        std::vector<std::string> totalLines;
    };
    // clang-format off
    const Case cases[] = {
        {false, false, {{40, 0, Line + sp(4) + "-$40.00", ""}}, -40, 0, -40,
         {Dashes, sp(26) + "EXPENSE TOTAL   =    -$40.00"}},
        {true, false, {{40, 4, Line + sp(4) + "-$40.00", Tax + "$4.00"},
                {12.5, 1.25, Line + sp(4) + "-$12.50", Tax + "$1.25"}}, -52.5, -5.25, -57.75,
         {Dashes, sp(26) + "TOTAL            =    -$52.50", sp(26) + "TAX              =     -$5.25",
          sp(26) + "EXPENSE TOTAL    =    -$57.75"}},
        {true, true, {{24.5, 2.23, Line + sp(4) + "-$24.50", TaxIncl + "$2.23"},
                      {11, 1, Line + sp(4) + "-$11.00", TaxIncl + "$1.00"}}, -32.27, -3.23, -35.5,
         {Dashes, sp(26) + "TOTAL            =    -$32.27", sp(26) + "TAX              =     -$3.23",
          sp(26) + "EXPENSE TOTAL    =    -$35.50"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.taxOn);
        SaleState sale;
        CurrentArticle article;
        article.ArticleDescription = "Stationery";
        article.SalePrice = 3;
        sale.EnteredCode = "EXP1         ";
        for (const Booked& b : c.lines) {
            sale.ExpenseAmount = b.amount;
            EXPECT_EQ(BookExpenseLine(sale, article, {}), b.journal);
            EXPECT_EQ(sale.UnitPrice, -b.amount);
            if (c.taxOn) {
                EXPECT_EQ(BookExpenseTax(sale, b.tax, "Tax", {}, c.included), b.taxJournal);
                // Included, the tax comes out of the line's price; else it is added.
                EXPECT_NEAR(sale.LineAmount, -(b.amount + (c.included ? 0 : b.tax)), 1e-9);
                EXPECT_NEAR(sale.UnitPrice, -(b.amount - (c.included ? b.tax : 0)), 1e-9);
            }
        }
        EXPECT_EQ(article.SalePrice, 0);
        EXPECT_EQ(ComputeExpenseTotals(c.taxOn, sale, {}).journalLines, c.totalLines);
        PayOutExpense(sale);
        EXPECT_NEAR(sale.Received, c.total, 1e-9);
        DayTotals day;
        day.ExpenseTotal = -10;
        EndExpense(sale, day);
        EXPECT_NEAR(day.ExpenseTotal, -10 + c.total, 1e-9);
        EXPECT_NEAR(day.TaxTotal, c.tax, 1e-9);
        EXPECT_NEAR(sale.LineAmount, c.sum, 1e-9);
        EXPECT_NEAR(sale.LineTaxSum, c.tax, 1e-9);
        EXPECT_NEAR(sale.SaleTotal, c.total, 1e-9);
    }
}
