#include "expenses/ExpenseArithmetic.h"

#include <gtest/gtest.h>

namespace {

struct Booked {
    double amount, tax;
    std::string journalLine, taxLine;
};

std::string sp(size_t n) {
    return std::string(n, ' ');
}

const std::string Stationery = sp(9) + "EXP1" + sp(13) + "Stationery" + sp(16) + sp(5);

} // namespace

// Lines of 40.00 (+4.00 tax) and 12.50 (+1.25): every figure is negative on
// the records, the day takes sum and tax, and the docket shows both.
TEST(ExpenseArithmetic, LinesTotalsAndDay) {
    struct Case {
        const char* name;
        bool taxOn;
        std::vector<Booked> lines;
        double lastLineAmount, sum, tax, total;
        std::vector<std::string> totalLines;
    };
    const std::string in = sp(26);
    const std::string dashes = sp(9) + std::string(59, '-');
    // clang-format off
    const Case cases[] = {
        {"one line without tax", false, {{40, 0, Stationery + sp(4) + "-$40.00", ""}}, -40, -40, 0, -40,
         {dashes, in + "EXPENSE TOTAL   =    -$40.00"}},
        {"two lines with tax", true, {{40, 4, Stationery + sp(4) + "-$40.00", sp(26) + "Tax" + sp(21) + "$4.00"},
                                          {12.5, 1.25, Stationery + sp(4) + "-$12.50", sp(26) + "Tax" + sp(21) + "$1.25"}}, -13.75, -52.5, -5.25, -57.75,
         {dashes, in + "TOTAL            =    -$52.50", in + "TAX              =     -$5.25",
          in + "EXPENSE TOTAL    =    -$57.75"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SaleState sale;
        CurrentArticle article;
        article.ArticleDescription = "Stationery";
        article.SalePrice = 3;
        sale.EnteredCode = "EXP1         ";
        for (const Booked& b : c.lines) {
            sale.ExpenseAmount = b.amount;
            EXPECT_EQ(BookExpenseLine(sale, article, {}), b.journalLine);
            EXPECT_EQ(sale.UnitPrice, -b.amount);
            if (c.taxOn) {
                EXPECT_EQ(BookExpenseTax(sale, b.tax, "Tax", {}), b.taxLine);
            }
        }
        EXPECT_EQ(article.SalePrice, 0);
        EXPECT_EQ(sale.LineAmount, c.lastLineAmount);
        EXPECT_EQ(sale.ExpenseSum, c.sum);
        EXPECT_EQ(sale.SaleTax, c.tax);
        EXPECT_EQ(ComputeExpenseTotals(c.taxOn, sale, {}).journalLines, c.totalLines);
        EXPECT_EQ(sale.SaleTotal, c.total);
        PayOutExpense(sale);
        EXPECT_EQ(sale.Received, c.total);
        DayTotals day;
        day.ExpenseTotal = -10;
        EndExpense(sale, day);
        EXPECT_EQ(day.ExpenseTotal, -10 + c.total);
        EXPECT_EQ(day.TaxTotal, c.tax);
        EXPECT_EQ(sale.LineAmount, c.sum);
        EXPECT_EQ(sale.LineTaxSum, c.tax);
        EXPECT_EQ(sale.SaleTotal, c.total);
    }
}
