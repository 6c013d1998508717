#include "consolidation/DayResults.h"
#include "store/ProgramState.h"
#include "support/Fakes.h"
#include "support/TestDir.h"
#include "till/Till.h"

#include <gtest/gtest.h>

// A day in a shop whose prices include 10 % tax and whose totals round to
// five cents, recorded by the till and read back by the consolidation.

namespace {

struct InclusiveDay : ::testing::Test {
    TestDir dir;
    ProgramState program{dir.path()};
    FakePorts ports;
    FakeLauncher launcher;
    Till till{program, ports, launcher};
    const RegionalFormats formats{};

    InclusiveDay() {
        program.config = DefaultConfiguration();
        program.config.TaxRate = 10;
        program.config.Rounding = "R";
        DeriveSwitches(program.config);
        program.config.PricesIncludeTax = true;
    }

    void ring(const char* code, double price, double wholesale, double quantity,
              bool returned = false) {
        till.sale().EnteredCode = code;
        till.article().ArticleCode = code;
        till.article().ArticleDescription = code;
        till.article().SalePrice = price;
        till.article().WholesalePrice = wholesale;
        till.sale().Quantity = quantity;
        till.sale().ReturnMode = returned;
        till.confirmLine(0, formats);
        till.sale().ReturnMode = false;
    }
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
    const std::string docket = dir.read("Docket.Prn");
    EXPECT_NE(docket.find("4                      MILK  2.00 x       3.60       7.20\r\n"),
              std::string::npos);
    EXPECT_NE(docket.find("4   Subtotal          7.20        Tax incl.          0.65\r\n"),
              std::string::npos);

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
    till.sale().InExpenseScreen = true;
    till.sale().EnteredCode = "EXP1";
    till.article().ArticleDescription = "Cleaning";
    till.sale().ExpenseAmount = 24.50;
    till.confirmExpenseLine(formats);
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
