#include "consolidation/SalesPersonFile.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

// A figure that fills its 12 columns must not run into its neighbour, or the
// next consolidation could not read the file back.
TEST(SalesPersonFile, FiguresThatFillTheirColumnsReadBack) {
    TestDir dir;
    Configuration config;
    config.SalesPersonCode = {"A", "B", "", "", ""};
    config.SalesPersonName = {"Ann", "Bob", "", "", ""};
    SalesPersonTotals day;
    day.SpServicesQty[0] = 2;
    day.SpServicesTotal[0] = 123456789.12;
    day.SpSalesTotal[0] = 5.5;
    const std::string path = dir.file("Spersons.dat");
    dir.write("Spersons.dat", MergeSalesPersonTotals(path, config, "07/12/26", day));
    const std::string written = dir.read("Spersons.dat");
    EXPECT_EQ(written.substr(58, written.find('\n', 58) - 57),
              "A   Ann              2.00 123456789.12        0.00        5.50\r\n");
    SalesPersonTotals next;
    MergeSalesPersonTotals(path, config, "08/12/26", next);
    EXPECT_EQ(next.SpServicesTotal[0], 123456789.12);
    EXPECT_EQ(next.SpSalesTotal[0], 5.5);
    EXPECT_EQ(next.SpServicesQty[0], 2);
}
