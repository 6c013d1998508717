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
