#include "consolidation/DayResults.h"
#include "consolidation/Reports.h"
#include "store/NumberText.h"
#include "store/TaxClasses.h"
#include "support/CaseTable.h"
#include "till/TillBench.h"

#include <gtest/gtest.h>

// A day in a shop whose prices include 10 % tax and whose totals round to
// five cents, recorded by the till and read back by the consolidation.

namespace {

struct Shop : TillBench {
    explicit Shop(bool pricesIncludeTax) {
        program.config.TaxRate = 10;
        program.config.Rounding = "R";
        DeriveSwitches(program.config);
        program.config.PricesIncludeTax = pricesIncludeTax;
    }
};

struct InclusiveDay : ::testing::Test, Shop {
    InclusiveDay() : Shop(true) {}
};

} // namespace

TEST_F(InclusiveDay, TheDaysTakingsAreWhatTheCustomersPaid) {
    // Two bottles of milk at 3.60 on the shelf: 7.20, of which 0.65 is tax.
    ASSERT_TRUE(till.beginWith("A").done);
    till.clearSale();
    ring("MILK", 3.60, 2.10, 2);
    till.endList(formats);
    EXPECT_DOUBLE_EQ(till.sale().SaleTotal, 7.20);
    till.sale().PayCash = true;
    ASSERT_TRUE(till.pay(10, formats, "9:05").covered);

    // Bread, a bottle of milk back, half a cheese: 2.47 - 3.60 + 2.50 = 1.37
    // with 0.22 - 0.32 + 0.22 tax in it, rounded to 1.35, paid by card.
    ASSERT_TRUE(till.beginWith("A").done);
    till.clearSale();
    ring("BREAD", 2.47, 1.20, 1);
    ring("MILK", 3.60, 2.10, 1, true);
    ring("CHEESE", 5.00, 3.00, 0.5);
    till.endList(formats);
    till.sale().PayCredit = true;
    ASSERT_TRUE(till.pay(1.35, formats, "9:10").covered);

    // A receipt of 24.50 with 2.23 tax in it.
    ASSERT_TRUE(till.beginWith("A").done);
    till.clearSale();
    expenseLine(24.50);
    EXPECT_FALSE(till.bookExpenseTax(24.51, formats).done);
    EXPECT_TRUE(till.bookExpenseTax(2.23, formats).done);
    ExpenseTotals expense = till.endExpenseList(formats);
    EXPECT_EQ(expense.payText, "-$24.50");
    till.payOutExpense("9:30", expense.payText);

    // Line records hold the lines without their tax; total records what was paid.
    const std::string expected =
        "A MILK              2.00       2.10         3.28         3.28          6.55\r\n"
        "# Total*** 9:05    7.20     0.00     0.00             0.65        7.20       10.00  "
        "2.80\r\n"
        "A BREAD             1.00       1.20         2.25         2.25          2.25\r\n"
        "A MILK             -1.00      -2.10        -3.28        -3.28         -3.28\r\n"
        "A CHEESE            0.50       3.00         4.55         4.55          2.28\r\n"
        "# Total*** 9:10    0.00     0.00     1.35             0.12        1.35        1.35  "
        "0.00\r\n"
        "$ EXP1              0.00       0.00         0.00       -22.27        -24.50\r\n"
        "# Total*** 9:30    0.00     0.00     0.00            -2.23      -24.50      -24.50  "
        "0.00\r\n";
    EXPECT_EQ(dir.read("Results.dat"), expected);

    const DayTotals& till_day = till.day();
    EXPECT_NEAR(till_day.TotalTakings, 8.55, 1e-9);
    EXPECT_NEAR(till_day.TaxTotal, 0.77 - 2.23, 1e-9);
    EXPECT_NEAR(till_day.ExpenseTotal, -24.50, 1e-9);

    DayResults day;
    ASSERT_TRUE(ReadDayResults(dir.file("Results.dat"), program.config, "05/12/26", day));
    EXPECT_EQ(day.faultyLines, 0u);
    const ConsolidationTotals& t = day.totals;
    EXPECT_NEAR(t.TotTakings, 7.20 + 1.35, 1e-9); // 10.00 less 2.80 change, and 1.35
    EXPECT_NEAR(t.TotCash, 7.20, 1e-9);
    EXPECT_NEAR(t.TotCredit, 1.35, 1e-9);
    EXPECT_NEAR(t.TotTax, 0.65 + 0.12 - 2.23, 1e-9);
    EXPECT_NEAR(t.TotExpenses, 24.50, 1e-9);
    EXPECT_NEAR(t.TotNet, 8.55 - 24.50, 1e-9);
    // A's sales without tax, with the 0.77 tax and the -0.02 rounding, are the 8.55 paid.
    EXPECT_NEAR(day.persons.SpSalesTotal[0], 7.80, 1e-9);
}

TEST(TaxClasses, ArticlesAtThreeRatesInOneSale) {
    // Bread at the reduced 5 %, stamps free of tax, the mug at the one rate of 10 %.
    const std::string taxes = crlf({"=Z  0.00", "=R  5.00", "BREAD         R", "STAMP*        Z"});
    const std::string sp36(36, ' '), sp10(10, ' ');
    for (const TestCase& c : ReadCases("till/three-rates.cases")) {
        SCOPED_TRACE(c.where + " " + c.name);
        Shop shop(c.flag("included"));
        shop.dir.write("Taxes.dat", taxes);
        TaxClassesRead read = ReadTaxClasses(shop.dir.path());
        ASSERT_TRUE(read.faults.empty());
        shop.program.taxes = read.taxes;

        ASSERT_TRUE(shop.till.beginWith("A").done);
        shop.till.clearSale();
        shop.ring("BREAD", 2.10, 1.00, 2);
        shop.ring("STAMP1", 1.50, 1.40, 1);
        shop.ring("MUG", 5.50, 3.00, 1);
        shop.till.endList(shop.formats);
        shop.till.sale().PayCash = true;
        ASSERT_TRUE(shop.till.pay(20, shop.formats, "9:05").covered);

        EXPECT_EQ(shop.dir.read("Results.dat"), c.crlf("records"));
        const std::string perRate = "4" + sp36 + "Tax 0%" + sp10 + "0.00\r\n" + "4" + sp36 +
                                    "Tax 5%" + sp10 + c["bread"] + "\r\n" + "4" + sp36.substr(1) +
                                    "Tax 10%" + sp10 + c["mug"] + "\r\n";
        EXPECT_NE(shop.dir.read("Docket.Prn").find(c["taxLine"] + "\r\n" + perRate),
                  std::string::npos)
            << shop.dir.read("Docket.Prn");

        DayResults day;
        ASSERT_TRUE(ReadDayResults(shop.dir.file("Results.dat"), shop.program.config, "05/12/26",
                                   day, shop.program.taxes));
        ASSERT_EQ(day.taxShares.byRate.size(), 3u);
        const double expected[] = {0, c.number("bread"), c.number("mug")};
        for (size_t i = 0; i < 3; ++i)
            EXPECT_NEAR(day.taxShares.byRate[i].tax, expected[i], 1e-9);
        EXPECT_NEAR(day.totals.TotTax, c.number("bread") + c.number("mug"), 1e-9);
        const std::vector<std::string> report =
            DayReportLines(day.totals, day.headerText, shop.formats, day.taxShares);
        const std::vector<std::string> taxLines = {
            "Taxtotal            " + std::string(7, ' ') + "$" +
                FormatFixed(c.number("bread") + c.number("mug"), 4, 2),
            "  at 0%             " + std::string(7, ' ') + "$0.00",
            "  at 5%             " + std::string(7, ' ') + "$" + c["bread"],
            "  at 10%            " + std::string(7, ' ') + "$" + c["mug"], "Total takings       "};
        ASSERT_GE(report.size(), 15u);
        EXPECT_EQ(std::vector<std::string>(report.begin() + 11, report.begin() + 15),
                  std::vector<std::string>(taxLines.begin(), taxLines.begin() + 4));
        EXPECT_EQ(report[15].substr(0, 20), taxLines[4]);
    }
}
