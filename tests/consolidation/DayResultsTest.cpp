#include "consolidation/DayResults.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

namespace {

// What the day report shows of a day's takings.
struct Sums {
    double quantity, wholesale, listValue, salesValue, servicesQty, servicesTotal, net;
    double servicesOfA; // the services sales person A is counted for
};

} // namespace

TEST(DayResults, AServiceWithoutASalesPersonTakesItsValuesOffTheDay) {
    // "@" is a service booked while the sales person field was blank. Its
    // value sums go down by price times signed quantity, its quantity counts
    // with the articles, and its amount goes into the net beside the sale's
    // total; it is no service of any sales person.
    const std::string apple =
        "A APPLE             3.00       1.20         2.50         2.50          7.50";
    const std::string repair =
        "@ /REPAIR           1.00       2.00        20.00        20.00         20.00";
    const std::string repairReturned =
        "@ /REPAIR          -1.00      -2.00       -20.00       -20.00        -20.00";
    const std::string lineService =
        "a /REPAIR           1.00       2.00        20.00        20.00         20.00";
    const struct {
        const char* what;
        std::vector<std::string> lines;
        Sums expected;
    } cases[] = {
        {"sold", {repair}, {1, -2, -20, -20, 0, 0, 20, 0}},
        {"returned", {repairReturned}, {-1, -2, -20, -20, 0, 0, -20, 0}},
        {"after an article", {apple, repair}, {4, 1.6, -12.5, -12.5, 0, 0, 20, 0}},
        {"beside a sales person's service", {lineService, repair}, {1, 0, 0, 0, 1, 20, 20, 1}},
    };
    for (const auto& c : cases) {
        TestDir dir;
        std::string takings = "* START of SALE   05/12/26 09:00\r\n";
        for (const std::string& line : c.lines)
            takings += line + "\r\n";
        dir.write("Results.dat", takings);
        Configuration config;
        config.SalesPersonCode = {"A", "B", "C", "D", "E"};
        DayResults day;
        ASSERT_TRUE(ReadDayResults(dir.file("Results.dat"), config, "05/12/26", day)) << c.what;
        EXPECT_EQ(day.faultyLines, 0u) << c.what;
        const ConsolidationTotals& t = day.totals;
        const Sums& e = c.expected;
        EXPECT_NEAR(t.TotQuantity, e.quantity, 1e-9) << c.what;
        EXPECT_NEAR(t.TotWholesale, e.wholesale, 1e-9) << c.what;
        EXPECT_NEAR(t.TotListValue, e.listValue, 1e-9) << c.what;
        EXPECT_NEAR(t.TotSalesValue, e.salesValue, 1e-9) << c.what;
        EXPECT_NEAR(t.TotServicesQty, e.servicesQty, 1e-9) << c.what;
        EXPECT_NEAR(t.TotServicesTotal, e.servicesTotal, 1e-9) << c.what;
        EXPECT_NEAR(t.TotNet, e.net, 1e-9) << c.what;
        EXPECT_NEAR(t.TotTakings, e.net, 1e-9) << c.what;
        EXPECT_EQ(day.persons.SpServicesQty[0], e.servicesOfA) << c.what;
    }
}

TEST(DayResults, EachSalesTaxIsSharedOutByTheRatesOfItsLines) {
    // Bread at 5 % and stamps at 0 % by Taxes.dat, the mug at the one rate of
    // 10 %. Half a mug at 5.99 was 2.995 with 0.29 tax, recorded as 3.00.
    const std::string mugHalf =
        "A MUG               0.50       3.00         5.99         5.99          3.00";
    const std::string mugTen =
        "A MUG               1.00       0.00         0.10         0.10          0.10";
    const std::string mugUnpaid =
        "A MUG               1.00       3.00         5.00         5.00          5.00";
    const std::string bread =
        "A BREAD             2.00       1.00         1.00         1.00          2.00";
    const std::string stamp =
        "A STAMP1            1.00       0.00         5.00         5.00          5.00";
    const std::string total = "# Total*** 9:05    0.00     0.00     0.00             ";
    const struct {
        const char* what;
        std::vector<std::string> lines;
        std::vector<RateTax> byRate;
        double expenses;
    } cases[] = {
        {"one rate takes the sale's tax whole",
         {mugTen, total + "0.00        0.10        0.10  0.00"},
         {{10, 0}},
         0},
        {"the cent the amounts lost goes to the rate with most sold",
         {mugHalf, bread, total + "0.39        5.39        5.39  0.00"},
         {{5, 0.10}, {10, 0.29}},
         0},
        {"never to a rate of 0",
         {stamp, mugHalf, total + "0.29        8.29        8.29  0.00"},
         {{0, 0}, {10, 0.29}},
         0},
        {"expenses apart, lines never paid left out",
         {"$ EXP1              0.00       0.00         0.00       -22.27        -24.50",
          "# Total*** 9:30    0.00     0.00     0.00            -2.23      -24.50      -24.50  "
          "0.00",
          mugUnpaid, "* START of SALE   05/12/26 11:00", bread,
          total + "0.10        2.10        2.10  0.00"},
         {{5, 0.10}},
         -2.23},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TestDir dir;
        std::string takings = "* START of SALE   05/12/26 09:00\r\n";
        for (const std::string& line : c.lines)
            takings += line + "\r\n";
        dir.write("Results.dat", takings);
        dir.write("Taxes.dat", "=R  5.00\r\n=Z  0.00\r\nBREAD         R\r\nSTAMP*        Z\r\n");
        Configuration config;
        config.TaxRate = 10;
        DeriveSwitches(config);
        DayResults day;
        ASSERT_TRUE(ReadDayResults(dir.file("Results.dat"), config, "05/12/26", day,
                                   ReadTaxClasses(dir.path()).taxes));
        EXPECT_EQ(day.faultyLines, 0u);
        ASSERT_EQ(day.taxShares.byRate.size(), c.byRate.size());
        for (size_t i = 0; i < c.byRate.size(); ++i) {
            EXPECT_EQ(day.taxShares.byRate[i].rate, c.byRate[i].rate);
            EXPECT_NEAR(day.taxShares.byRate[i].tax, c.byRate[i].tax, 1e-9);
        }
        EXPECT_NEAR(day.taxShares.expenses, c.expenses, 1e-9);
    }
}
