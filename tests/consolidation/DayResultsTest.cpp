#include "consolidation/DayResults.h"
#include "store/AmountText.h"
#include "support/CaseTable.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

TEST(DayResults, AServiceWithoutASalesPersonTakesItsValuesOffTheDay) {
    for (const TestCase& c : ReadCases("consolidation/blank-person-services.cases")) {
        SCOPED_TRACE(c.where + " " + c.name);
        TestDir dir;
        dir.write("Results.dat", c.crlf("takings"));
        Configuration config;
        config.SalesPersonCode = {"A", "B", "C", "D", "E"};
        DayResults day;
        ASSERT_TRUE(ReadDayResults(dir.file("Results.dat"), config, "05/12/26", day));
        EXPECT_EQ(day.faultyLines, 0u);
        const ConsolidationTotals& t = day.totals;
        EXPECT_NEAR(t.TotQuantity, c.number("quantity"), 1e-9);
        EXPECT_NEAR(t.TotWholesale, c.number("wholesale"), 1e-9);
        EXPECT_NEAR(t.TotListValue, c.number("listValue"), 1e-9);
        EXPECT_NEAR(t.TotSalesValue, c.number("salesValue"), 1e-9);
        EXPECT_NEAR(t.TotServicesQty, c.number("servicesQty"), 1e-9);
        EXPECT_NEAR(t.TotServicesTotal, c.number("servicesTotal"), 1e-9);
        EXPECT_NEAR(t.TotNet, c.number("net"), 1e-9);
        EXPECT_NEAR(t.TotTakings, c.number("net"), 1e-9);
        EXPECT_EQ(day.persons.SpServicesQty[0], c.number("servicesOfA"));
    }
}

TEST(DayResults, EachSalesTaxIsSharedOutByTheRatesOfItsLines) {
    for (const TestCase& c : ReadCases("consolidation/tax-shares.cases")) {
        SCOPED_TRACE(c.where + " " + c.name);
        TestDir dir;
        dir.write("Results.dat", c.crlf("takings"));
        dir.write("Taxes.dat", "=R  5.00\r\n=Z  0.00\r\nBREAD         R\r\nSTAMP*        Z\r\n");
        Configuration config;
        config.TaxRate = 10;
        DeriveSwitches(config);
        DayResults day;
        ASSERT_TRUE(ReadDayResults(dir.file("Results.dat"), config, "05/12/26", day,
                                   ReadTaxClasses(dir.path()).taxes));
        EXPECT_EQ(day.faultyLines, 0u);
        std::string shares;
        for (const RateTax& share : day.taxShares.byRate)
            shares += (shares.empty() ? "" : " ") + GeneralText(share.rate, 6) + ":" +
                      FixedText(share.tax);
        EXPECT_EQ(shares, c["rates"]);
        EXPECT_NEAR(day.taxShares.expenses, c.number("expenses"), 1e-9);
    }
}
