#include "takings/TakingsRecord.h"
#include "pricelist/CurrentArticle.h"
#include "till/SaleState.h"

#include <gtest/gtest.h>

namespace {

struct Line {
    char person;
    const char* code;
    double quantity, wholesale, price, unitPrice, amount;
};

SaleState saleOf(const Line& l, CurrentArticle& article) {
    SaleState sale;
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
        {"sale line", {'A', "ART1         ", 2, 3, 5, 5, 10},
         "A ART1         " "     2.00" "       3.00"
         "         5.00" "         5.00" "         10.00"},
        {"service by B", {'B', "/REPAIR      ", 1, 0, 25, 25, 25},
         "b /REPAIR      " "     1.00" "       0.00"
         "        25.00" "        25.00" "         25.00"},
        {"service with a blank sales person", {' ', "/REPAIR      ", 1, 0, 25, 25, 25},
         "@ /REPAIR      " "     1.00" "       0.00"
         "        25.00" "        25.00" "         25.00"},
        {"return line", {'A', "ART1         ", -1, -6, -10, -10, -10},
         "A ART1         " "    -1.00" "      -6.00"
         "       -10.00" "       -10.00" "        -10.00"},
        {"refused line", {'C', "ART9         ", 2, 6, 0, 9999999.99, 0},
         "C ART9         " "     2.00" "       6.00"
         "         0.00" "   9999999.99" "          0.00"},
        {"expense stays $ whatever its code", {'$', "/EXP         ", 0, 0, 0, -40, -40},
         "$ /EXP         " "     0.00" "       0.00"
         "         0.00" "       -40.00" "        -40.00"},
        {"an unpadded code keeps its 13 columns", {'$', "EXP1", 0, 0, 0, -40, -40},
         "$ EXP1         " "     0.00" "       0.00"
         "         0.00" "       -40.00" "        -40.00"},
        {"a wide number pushes the rest right", {'A', "ART1         ", 1, 12345678.9, 5, 5, 5},
         "A ART1         " "     1.00" " 12345678.90"
         "         5.00" "         5.00" "          5.00"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CurrentArticle article;
        SaleState sale = saleOf(c.line, article);
        EXPECT_EQ(ResultsLineText(c.line.person, sale, article), c.record);
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
