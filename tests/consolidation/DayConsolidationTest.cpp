#include "consolidation/ConsolidationError.h"
#include "consolidation/DayCommit.h"
#include "consolidation/DayResults.h"
#include "consolidation/Reports.h"
#include "store/FileCommit.h"
#include "support/TestDir.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <map>

namespace {

using Files = std::map<std::string, std::string>;

Files filesIn(const TestDir& dir) {
    Files files;
    DIR* d = ::opendir(dir.path().c_str());
    while (dirent* e = ::readdir(d)) {
        std::string name = e->d_name;
        if (name != "." && name != "..") files[name] = dir.read(name);
    }
    ::closedir(d);
    return files;
}

std::string lines(std::initializer_list<const char*> list) {
    std::string text;
    for (const char* line : list)
        text += std::string(line) + "\r\n";
    return text;
}

// One small day on 5 December 2026: A sells three apples and two pears at a
// discount, B takes back an apple and sells a repair, and the rent is paid.
const std::string Takings = lines({
    "* START of SALE   05/12/26 09:00",
    "A APPLE             3.00       1.20         2.50         2.50          7.50",
    "A PEAR              2.00       0.80         1.50         1.35          2.70",
    "# Total*** 9:05   10.20     0.00     0.00             0.00       10.20       20.00  9.80",
    "B APPLE            -1.00      -1.20        -2.50        -2.50         -2.50",
    "# Total*** 9:30   -2.50     0.00     0.00             0.00       -2.50       -2.50  0.00",
    "b /REPAIR           1.00       0.00        20.00        20.00         20.00",
    "# Total***10:15    0.00     0.00    20.00             0.00       20.00       20.00  0.00",
    "$ RENT              0.00       0.00         0.00       -40.00        -40.00",
    "# Total***11:00    0.00     0.00     0.00             0.00      -40.00      -40.00  0.00",
});
const std::string PriceList = lines({
    " APPLE         Apple                            1.20       2.50 10",
    " PEAR          Pear                             0.80       1.50  5",
    " /REPAIR       Repair                           0.00      20.00  0",
    "$RENT          Rent                             0.00       0.00  0",
});
const std::string OldInventory = lines({
    " APPLE                 10        1.0         20.0             5.0            6.00",
    "!/REPAIR                0        0.0          0.0             3.0           60.00",
    "$RENT                   0        0.0          0.0             0.0          120.00",
});
const std::string OldSalesPersons = lines({
    "*       01/12/26          Services                 Sales",
    "A   ANNA             0.00        0.00       10.00      100.00",
    "B   BEN              2.00       40.00        1.00        5.00",
    "Z   ZOE              9.00        9.00        9.00        9.00",
});
const std::string OldDayByDay = lines({
    "*    01/12/26 08:00    ***   01/12/26",
    "#  1.0       1.00        2.00        2.00         2.00        0.00         0.00",
    "&                        0.00        0.00         2.00        0.00         2.00  ",
});

const Files Before = {
    {"Results.dat", Takings},
    {"Pricelist.dat", PriceList},
    {"Inventory.dat", OldInventory},
    {"Inventory.wrk", "left over\r\n"},
    {"Spersons.dat", OldSalesPersons},
    {"Daybyday.dat", OldDayByDay},
    {"res2026dez.05", "an earlier run of the day\r\n"},
};

const Files After = {
    {"Res2026Dez.05a", Takings},
    {"Pricelist.dat", PriceList},
    {"Inventory.dat",
     lines({
         " APPLE            10        2.0         18.0             7.0            2.40",
         " PEAR              5        2.0         -2.0             2.0            1.60",
         "!/REPAIR           0        1.0          0.0             4.0           80.00",
         "$RENT              0        0.0          0.0             0.0           80.00",
     })},
    {"Spersons.dat", lines({
                         "*       05/12/26          Services                 Sales",
                         "A   ANNA             0.00        0.00       15.00      110.20",
                         "B   BEN              3.00       60.00        0.00        2.50",
                         "C   C                0.00        0.00        0.00        0.00",
                         "D   D                0.00        0.00        0.00        0.00",
                         "E   E                0.00        0.00        0.00        0.00",
                     })},
    {"Daybyday.dat",
     OldDayByDay +
         lines({
             "*    05/12/26 09:00    ***   05/12/26",
             "#  4.0       4.00       28.00       27.70         7.70        0.00        20.00",
             "&                       20.00        0.00        27.70       40.00       -12.30  ",
         })},
    {"res2026dez.05", "an earlier run of the day\r\n"},
};

Configuration shop() {
    Configuration config;
    config.SalesPersonCode = {"A", "B", "C", "D", "E"};
    config.SalesPersonName = {"ANNA", "BEN", "C", "D", "E"};
    config.LowStockPercent = 10;
    return config;
}

RunDates december5() {
    return RunDates{"05/12/26", "2026", "Dez", "05", false};
}

DayCommitResult consolidate(const TestDir& dir, const Configuration& config,
                            const DayCommitOptions& options = {}) {
    DayResults day;
    EXPECT_TRUE(ReadDayResults(dir.file("Results.dat"), config, "05/12/26", day));
    return CommitDay({dir.path(), config, true, false, december5(), day}, options);
}

void layOut(const TestDir& dir) {
    for (const auto& [name, bytes] : Before)
        dir.write(name, bytes);
}

} // namespace

TEST(Consolidation, DayOfSalesReturnServiceAndExpense) {
    TestDir dir;
    layOut(dir);
    DayCommitResult result = consolidate(dir, shop());
    EXPECT_EQ(result.archiveName, "Res2026Dez.05a");
    EXPECT_EQ(result.unfinished, "");
    EXPECT_EQ(filesIn(dir), After);
}

TEST(Consolidation, InterruptedAfterEveryOperationIsFinishedAtTheNextStart) {
    // Daybyday, Spersons, Inventory, Inventory.wrk, Results.dat.
    for (size_t k = 0; k <= 5; ++k) {
        TestDir dir;
        layOut(dir);
        DayCommitOptions options;
        options.stopAfter = k;
        consolidate(dir, shop(), options);
        EXPECT_EQ(RecoverFileCommit(dir.path()),
                  "The consolidation of 05/12/26 was interrupted and has now been finished.")
            << k;
        EXPECT_EQ(filesIn(dir), After) << "stopped after " << k;
    }
}

TEST(Consolidation, UnreadableLineOfAKeptFileStopsBeforeAnyChange) {
    struct Case {
        const char* file;
        std::string bytes;
        const char* line;
    };
    const Case cases[] = {
        {"Spersons.dat", lines({"*  heading", "A   ANNA   1.00  x.00  3.00  4.00"}), "Line 2"},
        {"Inventory.dat", lines({" APPLE                 10        1.0"}), "Line 1"},
        {"Pricelist.dat", PriceList + lines({" PLUM          Plum        1.00"}), "Line 5"},
    };
    for (const Case& c : cases) {
        TestDir dir;
        layOut(dir);
        dir.write(c.file, c.bytes);
        Files before = filesIn(dir);
        try {
            consolidate(dir, shop());
            ADD_FAILURE() << c.file << " went through";
        } catch (const ConsolidationError& e) {
            EXPECT_EQ(std::string(e.what()), std::string(c.line) + " of the file " +
                                                 dir.file(c.file) +
                                                 " cannot be read.\rNothing was changed.");
        }
        EXPECT_EQ(filesIn(dir), before) << c.file;
    }
}

TEST(Consolidation, EveryArchiveNameTakenChangesNothing) {
    TestDir dir;
    layOut(dir);
    dir.write("Res2026Dez.05", "x");
    for (char letter = 'a'; letter <= 'z'; ++letter)
        dir.write(std::string("Res2026Dez.05") + letter, "x");
    Files before = filesIn(dir);
    EXPECT_THROW(consolidate(dir, shop()), ConsolidationError);
    EXPECT_EQ(filesIn(dir), before);
}

TEST(Consolidation, FaultyTakingsLinesAreCountedAndLeftOut) {
    TestDir dir;
    // A phantom record inside a code, a line cut short by a crash, NUL bytes,
    // an unknown marker and a missing number.
    dir.write(
        "Results.dat",
        Takings +
            lines({"A APPLE             1.00       1.20   ",
                   "1 APPLE             1.00       1.20         2.50         2.50          2.50",
                   "A APPLE             1.00       1.20         2.50         2.50              "}) +
            std::string(
                "A APPLE \0           1.00       1.20         2.50         2.50          2.50\r\n",
                77) +
            "A APPLE             1.00       1.20         2.50         2.50          2.5");
    DayResults day;
    ASSERT_TRUE(ReadDayResults(dir.file("Results.dat"), shop(), "05/12/26", day));
    EXPECT_EQ(day.faultyLines, 5u);
    EXPECT_EQ(day.firstFaultyLine, 11u);
    EXPECT_EQ(day.firstFaultyText, "A APPLE             1.00       1.20   ");
    EXPECT_EQ(day.totals.TotQuantity, 4.0);
    EXPECT_EQ(day.byCode["APPLE        "].quantity, 2.0);
}

TEST(Consolidation, ReportsOfTheDay) {
    TestDir dir;
    dir.write("Results.dat", Takings);
    Configuration config = shop();
    DayResults day;
    ASSERT_TRUE(ReadDayResults(dir.file("Results.dat"), config, "05/12/26", day));
    RegionalFormats formats;
    const std::vector<std::string> report = {
        " ",
        "Results of        05/12/26 09:00",
        " ",
        "Quantity sold                  4",
        "Wholesale cost             $4.00",
        "Sales price                $7.70",
        "Qty of Services                1",
        "Services Total            $20.00",
        "Cash takings               $7.70",
        "Cheque takings             $0.00",
        "Credit takings            $20.00",
        "Taxtotal                   $0.00",
        "Total takings             $27.70",
        "Expenses                  $40.00",
        " ",
        "Balance                  -$12.30",
    };
    EXPECT_EQ(DayReportLines(day.totals, day.headerText, formats), report);
    const std::vector<std::string> table = {
        " ",
        " ",
        " ",
        " ",
        "Sale's person     Services         Sales Totals",
        " ",
        "ANNA             0     $0.00        5    $10.20",
        "BEN              1    $20.00       -1    -$2.50",
        "C                0     $0.00        0     $0.00",
        "D                0     $0.00        0     $0.00",
        "E                0     $0.00        0     $0.00",
    };
    EXPECT_EQ(SalesPersonTableLines(day.persons, config, formats), table);
}
