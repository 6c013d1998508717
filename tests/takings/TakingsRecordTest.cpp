#include "takings/TakingsRecord.h"
#include "sales/SaleArithmetic.h"
#include "store/DataFiles.h"
#include "support/Fakes.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

namespace {

struct Line {
    const char* person;
    const char* code;
    double quantity, wholesale, price, unitPrice, amount;
};

SaleState saleOf(const Line& l, CurrentArticle& article) {
    SaleState sale;
    sale.CurrentSalesPerson = l.person;
    sale.EnteredCode = l.code;
    sale.Quantity = l.quantity;
    sale.UnitPrice = l.unitPrice;
    sale.LineAmount = l.amount;
    article.WholesalePrice = l.wholesale;
    article.SalePrice = l.price;
    return sale;
}

} // namespace

TEST(WriteResultsLine, Columns) {
    struct Case {
        const char* name;
        Line line;
        std::string record;
    };
    // Each number field is written here with the blank in front of it.
    // clang-format off
    const Case cases[] = {
        {"sale line", {"A", "ART1         ", 2, 3, 5, 5, 10},
         "A ART1         " "     2.00" "       3.00"
         "         5.00" "         5.00" "         10.00"},
        {"service by B", {"B", "/REPAIR      ", 1, 0, 25, 25, 25},
         "b /REPAIR      " "     1.00" "       0.00"
         "        25.00" "        25.00" "         25.00"},
        {"service with a blank sales person", {" ", "/REPAIR      ", 1, 0, 25, 25, 25},
         "@ /REPAIR      " "     1.00" "       0.00"
         "        25.00" "        25.00" "         25.00"},
        {"return line", {"A", "ART1         ", -1, -6, -10, -10, -10},
         "A ART1         " "    -1.00" "      -6.00"
         "       -10.00" "       -10.00" "        -10.00"},
        {"refused line", {"C", "ART9         ", 2, 6, 0, 9999999.99, 0},
         "C ART9         " "     2.00" "       6.00"
         "         0.00" "   9999999.99" "          0.00"},
        {"expense line", {"$", "EXP1         ", 0, 0, 0, -40, -40},
         "$ EXP1         " "     0.00" "       0.00"
         "         0.00" "       -40.00" "        -40.00"},
        {"expense stays $ whatever its code", {"$", "/EXP         ", 0, 0, 0, -40, -40},
         "$ /EXP         " "     0.00" "       0.00"
         "         0.00" "       -40.00" "        -40.00"},
        {"an unpadded code keeps its 13 columns", {"$", "EXP1", 0, 0, 0, -40, -40},
         "$ EXP1         " "     0.00" "       0.00"
         "         0.00" "       -40.00" "        -40.00"},
        {"a wide number pushes the rest right", {"A", "ART1         ", 1, 12345678.9, 5, 5, 5},
         "A ART1         " "     1.00" " 12345678.90"
         "         5.00" "         5.00" "          5.00"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CurrentArticle article;
        SaleState sale = saleOf(c.line, article);
        EXPECT_EQ(ResultsLineText(sale, article), c.record);
    }
}

TEST(WriteResultsTotal, Columns) {
    struct Case {
        const char* name;
        const char* clock;
        double cash, cheque, credit, tax, total, received, change;
        std::string record;
    };
    // clang-format off
    const Case cases[] = {
        {"expense", "14:30", 0, 0, 0, 0, -40, -40, 0,
         "# Total***14:30" "    0.00" "     0.00"
         "     0.00" "          " "   0.00"
         "      -40.00" "      -40.00" "  0.00"},
        {"a change of 100.00 widens the record", "9:05", 100, 0, 0, 0, 100, 200, 100,
         "# Total*** 9:05" "  100.00" "     0.00"
         "     0.00" "          " "   0.00"
         "      100.00" "      200.00" " 100.00"},
        {"refund", "16:00", 0, -12.34, 0, -1.12, -12.34, -12.34, 0,
         "# Total***16:00" "    0.00" "   -12.34"
         "     0.00" "          " "  -1.12"
         "      -12.34" "      -12.34" "  0.00"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SaleState sale;
        sale.PaidCash = c.cash;
        sale.PaidCheque = c.cheque;
        sale.PaidCredit = c.credit;
        sale.SaleTax = c.tax;
        sale.SaleTotal = c.total;
        sale.Received = c.received;
        sale.ChangeDue = c.change;
        EXPECT_EQ(ResultsTotalText(sale, c.clock), c.record);
    }
}

TEST(TakingsRecord, StartRecordKeeps14Characters) {
    EXPECT_EQ(StartRecordText("07/12/26 9:05:30"), "* START of SALE   07/12/26 9:05:");
    EXPECT_EQ(StartRecordText("7/12/26 9:05"), "* START of SALE   7/12/26 9:05");
}

// A whole day in Results.dat: the start record, a two-line cash sale by A
// paid with 20.00 for 18.50 at 9:05, then a 40.00 expense.
TEST(TakingsRecord, FileOfASaleAndAnExpense) {
    TestDir dir;
    DataFiles files(dir.path());
    ASSERT_TRUE(files.OpenResultsForAppend());
    WriteStartRecord(files.results, "07/12/26 9:01:12");

    Configuration config;
    DeriveSwitches(config);
    const RegionalFormats formats = FixedRegional().formats();
    FakeDialogs dialogs;
    SaleState sale;
    CurrentArticle article;
    BeginNewSale(sale, article);
    sale.CurrentSalesPerson = "A";
    const Line lines[] = {{"A", "ART1         ", 2, 3.00, 5.00, 0, 0},
                          {"A", "ART2         ", 1, 4.20, 8.50, 0, 0}};
    for (const Line& l : lines) {
        sale.EnteredCode = l.code;
        sale.Quantity = l.quantity;
        article.WholesalePrice = l.wholesale;
        article.SalePrice = l.price;
        article.ArticleDescription = "Article";
        ASSERT_FALSE(ComputeLine(config, formats, article, sale).refused);
        WriteResultsLine(files.results, sale, article);
    }
    ComputeTotals(config, formats, sale, dialogs);
    sale.PayCash = true;
    ASSERT_TRUE(TakePayment(sale, 20.00, config, formats).covered);
    DayTotals day;
    EndSale(sale, day);
    WriteResultsTotal(files.results, sale, "9:05");
    files.results.close();

    ASSERT_TRUE(files.OpenResultsForAppend());
    SaleState expense;
    expense.CurrentSalesPerson = "$";
    expense.EnteredCode = "EXP1         ";
    expense.UnitPrice = expense.LineAmount = -40;
    CurrentArticle none;
    WriteResultsLine(files.results, expense, none);
    expense.SaleTotal = expense.Received = -40;
    WriteResultsTotal(files.results, expense, "9:20");
    files.results.close();

    EXPECT_EQ(dir.read("Results.dat"), "* START of SALE   07/12/26 9:01:\r\n"
                                       "A ART1              2.00       3.00         5.00"
                                       "         5.00         10.00\r\n"
                                       "A ART2              1.00       4.20         8.50"
                                       "         8.50          8.50\r\n"
                                       "# Total*** 9:05   18.50     0.00     0.00          "
                                       "   0.00       18.50       20.00  1.50\r\n"
                                       "$ EXP1              0.00       0.00         0.00"
                                       "       -40.00        -40.00\r\n"
                                       "# Total*** 9:20    0.00     0.00     0.00          "
                                       "   0.00      -40.00      -40.00  0.00\r\n");
}
