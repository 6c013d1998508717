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

// Figures follow a changed code. Where they come to a code that keeps
// figures of its own they are added to them, so the next merge, which takes
// one line a person, loses none.
TEST(SalesPersonFile, FiguresMoveToTheNewCodeAndGatherWhereTheyMeet) {
    const std::string heading = "*         07/12/26          Services                 Sales\r\n";
    const std::string ann = "A   Ann              1.00       12.00        3.00       45.50\r\n";
    const std::string bob = "B   Bob              0.00        0.00        0.00        0.00\r\n";
    const std::string eve = "E   Eve              0.00        0.00        2.00       19.90\r\n";
    const std::string old = "F   Old              1.00        5.00        0.00        0.00\r\n";
    TestDir dir;
    dir.write("Spersons.dat", heading + ann + bob + eve + old);
    Configuration before = DefaultConfiguration();
    before.SalesPersonName = {"Ann      ", "Bob      ", "C        ", "D        ", "Eve      "};
    EXPECT_EQ(SalesPersonsWithFigures(dir.file("Spersons.dat"), before),
              (std::array<bool, 5>{true, false, false, false, true}));

    struct Case {
        const char* codes; // of persons 1 to 5 after the change
        std::array<bool, 5> move;
        std::string expected;
    };
    const Case cases[] = {
        {"ABCDF",
         {false, false, false, false, true},
         heading + ann + bob + "F   Old              1.00        5.00        2.00       19.90\r\n"},
        {"EBCDA",
         {true, false, false, false, true},
         heading + "E   Ann              1.00       12.00        3.00       45.50\r\n" + bob +
             "A   Eve              0.00        0.00        2.00       19.90\r\n" + old},
        {"EBCDA",
         {true, false, false, false, false},
         heading + bob + "E   Eve              1.00       12.00        5.00       65.40\r\n" + old},
        {"ABCDG", {false, false, false, false, false}, heading + ann + bob + eve + old},
    };
    for (const Case& k : cases) {
        Configuration after = before;
        for (size_t i = 0; i < 5; ++i)
            after.SalesPersonCode[i] = std::string(1, k.codes[i]);
        EXPECT_EQ(MoveSalesPersonFigures(dir.file("Spersons.dat"), before, after, k.move),
                  k.expected)
            << k.codes;
    }
}
