#include "consolidation/BalanceSheet.h"
#include "consolidation/ConsolidationError.h"
#include "consolidation/DayCommit.h"
#include "consolidation/Stocktake.h"
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
    while (dirent* e = ::readdir(d))
        if (e->d_name[0] != '.') files[e->d_name] = dir.read(e->d_name);
    ::closedir(d);
    return files;
}

std::string lines(std::initializer_list<const char*> list) {
    std::string text;
    for (const char* line : list)
        text += std::string(line) + "\r\n";
    return text;
}

Configuration shop() {
    Configuration config;
    config.SalesPersonCode = {"A", "B", "C", "D", "E"};
    config.SalesPersonName = {"ANNA", "BEN", "C", "D", "E"};
    config.LowStockPercent = 10;
    return config;
}

// 31 December 2026, after two consolidated days: A sells three apples, B a
// repair, and an expense code spelled like the balance sheet's "TOTAL" row is
// booked for the first time.
const std::string Takings = lines({
    "* START of SALE   31/12/26 09:00",
    "A APPLE             3.00       1.20         2.50         2.50          7.50",
    "# Total*** 9:05    7.50     0.00     0.00             0.00        7.50        7.50  0.00",
    "b /REPAIR           1.00       0.00        20.00        20.00         20.00",
    "# Total***10:15    0.00     0.00    20.00             0.00       20.00       20.00  0.00",
    "$ TOTAL             0.00       0.00         0.00       -40.00        -40.00",
    "# Total***11:00    0.00     0.00     0.00             0.00      -40.00      -40.00  0.00",
});
const std::string DayInventory = lines({
    " APPLE            10        3.0         17.0             8.0            3.60",
    "!/REPAIR           0        1.0          0.0             4.0           80.00",
    "$RENT              0        0.0          0.0             0.0          120.00",
    "$TOTAL             0        0.0          0.0             0.0          -40.00",
});
const std::string SalesPersonsBlock = lines({
    "*       31/12/26          Services                 Sales",
    "A   ANNA             0.00        0.00       13.00      107.50",
    "B   BEN              3.00       60.00        1.00        5.00",
    "C   C                0.00        0.00        0.00        0.00",
    "D   D                0.00        0.00        0.00        0.00",
    "E   E                0.00        0.00        0.00        0.00",
    " Results to and incl. 31/12/26",
    "",
});
const std::string DayArchive = lines({
    "       29/12/26 08:00  ",
    "   1.0       1.00        2.00        2.00         2.00        0.00         0.00",
    "                         0.00        0.00         2.00        0.00         2.00  ",
    "       30/12/26 08:00  ",
    "   2.0       2.40        5.00        5.00         0.00        5.00         0.00",
    "                         0.00        0.50         5.00        1.00         4.00  ",
    "       31/12/26 09:00  ",
    "   3.0       3.60       27.50       27.50         7.50        0.00        20.00",
    "                        20.00        0.00        27.50       40.00       -12.50  ",
    " TOTAL from     29/12/26  to  31/12/26",
    "   6.0       7.00       34.50       34.50         9.50        5.00        20.00",
    "                        20.00        0.50        34.50       41.00        -6.50  ",
});

const Files Before = {
    {"Results.dat", Takings},
    {"Pricelist.dat", lines({
                          " APPLE         Apple                            1.20       2.50 10",
                          " /REPAIR       Repair                           0.00      20.00  0",
                          "$RENT          Rent                             0.00       0.00  0",
                          "$TOTAL         Spelled like a row               0.00       0.00  0",
                      })},
    {"Inventory.dat",
     lines({
         " APPLE                 10        1.0         20.0             5.0            6.00",
         "!/REPAIR                0        0.0          0.0             3.0           60.00",
         "$RENT                   0        0.0          0.0             0.0          120.00",
     })},
    {"Inventory.wrk", "left over\r\n"},
    {"Spersons.dat", lines({
                         "*       29/12/26          Services                 Sales",
                         "A   ANNA             0.00        0.00       10.00      100.00",
                         "B   BEN              2.00       40.00        1.00        5.00",
                     })},
    {"Daybyday.dat",
     lines({
         "*    29/12/26 08:00    ***   29/12/26",
         "#  1.0       1.00        2.00        2.00         2.00        0.00         0.00",
         "&                        0.00        0.00         2.00        0.00         2.00  ",
         "*    30/12/26 08:00    ***   30/12/26",
         "#  2.0       2.40        5.00        5.00         0.00        5.00         0.00",
         "&                        0.00        0.50         5.00        1.00         4.00  ",
     })},
};

// The first period end: the sheet is created, values of expense and service
// items start again, the article keeps its value.
const Files FirstEnd = {
    {"Res2026Dez.31", Takings},
    {"Pricelist.dat", Before.at("Pricelist.dat")},
    {"Day2026Dez.A", DayArchive},
    {"SP2026Dez.dat", SalesPersonsBlock},
    {"Inventory.dat",
     lines({
         " APPLE            10        3.0         17.0             8.0            3.60",
         "!/REPAIR           0        1.0          0.0             4.0            0.00",
         "$RENT              0        0.0          0.0             0.0            0.00",
         "$TOTAL             0        0.0          0.0             0.0            0.00",
     })},
    {"Balance.dat", lines({"BALANCE SHEET      Dez2026", "CASH TOTAL            9.50",
                           "CHEQUE TOTAL          5.00", "CREDIT TOTAL         20.00",
                           "TOTAL                34.50", "TAX TOTAL             0.50",
                           "/REPAIR              80.00", "RENT                120.00",
                           "TOTAL               -40.00"})},
    {"Balance.Tot", lines({"BALANCE SHEET      Dez2026          Totals",
                           "CASH TOTAL            9.50 =          9.50",
                           "CHEQUE TOTAL          5.00 =          5.00",
                           "CREDIT TOTAL         20.00 =         20.00",
                           "TOTAL                34.50 =         34.50",
                           "TAX TOTAL             0.50 =          0.50",
                           "/REPAIR              80.00 =         80.00",
                           "RENT                120.00 =        120.00",
                           "TOTAL               -40.00 =        -40.00"})},
};

// A second period end in the month: a column is added, the new "TOTAL" item
// gets the filler rather than the fixed row's history, the item gone from the
// inventory loses its row, the archives go on with B and a second block.
Files secondEnd() {
    Files files = FirstEnd;
    files.erase("Day2026Dez.A");
    files["day2026dez.a"] = "earlier\r\n";
    files["Day2026Dez.B"] = DayArchive;
    files["SP2026Dez.dat"] = "earlier block\r\n" + SalesPersonsBlock;
    files["Inventory.wrk"] = DayInventory;
    std::string& inventory = files["Inventory.dat"];
    inventory.replace(inventory.find("3.60"), 4, "0.00");
    files["Balance.dat"] =
        lines({"BALANCE SHEET      Nov2026      Dez2026", "CASH TOTAL          100.00         9.50",
               "CHEQUE TOTAL          0.00         5.00", "CREDIT TOTAL         50.50        20.00",
               "TOTAL               150.50        34.50", "TAX TOTAL             0.00         0.50",
               "/REPAIR              10.00        80.00", "RENT                 30.00       120.00",
               "TOTAL                 0.00       -40.00"});
    files["Balance.Tot"] = lines({"BALANCE SHEET      Nov2026      Dez2026          Totals",
                                  "CASH TOTAL          100.00         9.50 =        109.50",
                                  "CHEQUE TOTAL          0.00         5.00 =          5.00",
                                  "CREDIT TOTAL         50.50        20.00 =         70.50",
                                  "TOTAL               150.50        34.50 =        185.00",
                                  "TAX TOTAL             0.00         0.50 =          0.50",
                                  "/REPAIR              10.00        80.00 =         90.00",
                                  "RENT                 30.00       120.00 =        150.00",
                                  "TOTAL                 0.00       -40.00 =        -40.00"});
    return files;
}

Files secondBefore() {
    Files files = Before;
    files["day2026dez.a"] = "earlier\r\n";
    files["SP2026Dez.dat"] = "earlier block\r\n";
    files["Balance.dat"] = lines(
        {"BALANCE SHEET      Nov2026", "CASH TOTAL          100.00", "CHEQUE TOTAL          0.00",
         "CREDIT TOTAL         50.50", "TOTAL               150.50", "TAX TOTAL             0.00",
         "OLDFEE                7.00", "RENT                 30.00", "/REPAIR              10.00"});
    return files;
}

void layOut(const TestDir& dir, const Files& files) {
    for (const auto& [name, bytes] : files)
        dir.write(name, bytes);
}

void periodEnd(const TestDir& dir, size_t stopAfter = static_cast<size_t>(-1)) {
    DayResults day;
    ASSERT_TRUE(ReadDayResults(dir.file("Results.dat"), shop(), "31/12/26", day));
    DayCommitOptions options;
    options.stopAfter = stopAfter;
    CommitDay({dir.path(), shop(), true, true, {"31/12/26", "2026", "Dez", "31", true}, day},
              options);
}

} // namespace

TEST(PeriodEnd, FirstAndSecondInterruptedAfterEveryOperation) {
    // Two archives, two deletions, sheet, totals, inventory, work copy,
    // Balance.wrk, takings: ten operations.
    const std::pair<Files, Files> runs[] = {{Before, FirstEnd}, {secondBefore(), secondEnd()}};
    for (const auto& [before, after] : runs) {
        for (size_t k = 0; k <= 11; ++k) {
            TestDir dir;
            layOut(dir, before);
            periodEnd(dir, k);
            RecoverFileCommit(dir.path());
            EXPECT_EQ(filesIn(dir), after) << "stopped after " << k;
        }
    }
}

TEST(PeriodEnd, RowsOfTwentyPeriodsAreCarriedWhole) {
    std::string old = "BALANCE SHEET", row = "RENT         ", sheet;
    for (int period = 0; period < 20; ++period) {
        old += "      Nov2026";
        row += "         1.00";
    }
    for (const char* label :
         {"", "CASH TOTAL   ", "CHEQUE TOTAL ", "CREDIT TOTAL ", "TOTAL        ", "TAX TOTAL    "})
        sheet += (*label ? label + row.substr(13) : old) + "\r\n";
    const std::string rent =
        "$RENT              0        0.0          0.0             0.0            5.00";
    BalanceUpdate update = UpdateBalanceSheet(sheet + row + "\r\n", "Balance.dat", rent, "", {},
                                              {"31/12/26", "2026", "Dez", "31", true});
    const std::string newRow = row + "         5.00";
    EXPECT_EQ(update.balance.substr(update.balance.size() - newRow.size() - 2), newRow + "\r\n");
    const std::string totals = BalanceTotals("X\r\n" + newRow, "");
    EXPECT_EQ(totals.substr(totals.size() - 18), " =         25.00\r\n");
}

TEST(PeriodEnd, UnreadableLastingRecordStopsBeforeAnyChange) {
    struct Case {
        const char* file;
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {"Balance.dat", lines({"BALANCE SHEET      Nov2026", "CASH TOTAL         1x0.00"}),
         "Empty or faulty file balance file.\rLine 2"},
        {"Balance.dat", "", "Empty or faulty file balance file.\rLine 1"},
        {"Daybyday.dat", lines({"#  1.0       1.00        2.00", "?"}), "Line 1"},
    };
    for (const Case& c : cases) {
        TestDir dir;
        layOut(dir, Before);
        dir.write(c.file, c.bytes);
        const Files before = filesIn(dir);
        try {
            periodEnd(dir);
            ADD_FAILURE() << c.file << " went through";
        } catch (const ConsolidationError& e) {
            EXPECT_EQ(std::string(e.what()), c.text + " of the file " + dir.file(c.file) +
                                                 " cannot be read.\rNothing was changed.");
        }
        EXPECT_EQ(filesIn(dir), before) << c.file;
    }
}

TEST(Stocktake, CountedTakingsBecomeTheInventoryInterruptedAfterEveryOperation) {
    const std::string takings = lines({
        "* START of SALE   14/03/26 09:00",
        "A ARTA             12.00       2.00         3.00         3.00         36.00",
        "A ARTB              4.00       5.00         8.00         8.00         32.00",
        "A ARTB             -1.00      -5.00        -8.00        -8.00         -8.00",
        "a /FIX              1.00       0.00        20.00        20.00         20.00",
        "$ RENT              0.00       0.00         0.00       -40.00        -40.00",
    });
    const std::string priceList = lines({
        " ARTA          Article A                        2.00       3.00 10",
        " ARTB          Article B                        5.00       8.00  5",
        " ARTC          Article C                        1.00       2.00  0",
        " /FIX          Fix                              0.00      20.00  0",
        "$RENT          Rent                             0.00       0.00  0",
    });
    const Files before = {{"Results.dat", takings},
                          {"Pricelist.dat", priceList},
                          {"Inventory.wrk", "left over\r\n"},
                          {"Stocktake.26A", "earlier\r\n"}};
    const Files after = {
        {"Stocktake.26A", "earlier\r\n"},
        {"Stocktake.26B", takings},
        {"Pricelist.dat", priceList},
        {"Inventory.dat",
         lines({
             " ARTA             10        0.0         12.0             0.0           24.00",
             " ARTB              5        0.0          3.0             0.0           15.00",
             " ARTC              0        0.0          0.0             0.0            0.00",
             "!/FIX              0        0.0          0.0             0.0            0.00",
             "$RENT              0        0.0          0.0             0.0            0.00",
         })},
        {"Inventory.26A",
         lines({
             " ARTA             10       12.0        -12.0            12.0           24.00",
             " ARTB              5        3.0         -3.0             3.0           15.00",
             " ARTC              0        0.0          0.0             0.0            0.00",
             "!/FIX              0        1.0          0.0             1.0           20.00",
             "$RENT              0        0.0          0.0             0.0          -40.00",
             "",
             "Total value of the inventory = $39.00",
         })},
    };
    for (size_t k = 0; k <= 5; ++k) {
        TestDir dir;
        layOut(dir, before);
        DayResults day;
        ASSERT_TRUE(ReadDayResults(dir.file("Results.dat"), shop(), "14/03/26", day));
        DayCommitOptions options;
        options.stopAfter = k;
        StocktakeResult result = CommitStocktake(
            {dir.path(), true, {"14/03/26", "2026", "Mar", "14", false}, day}, options);
        EXPECT_EQ(result.totalValue, 39.0);
        EXPECT_EQ(RecoverFileCommit(dir.path()) != "", k <= 4);
        EXPECT_EQ(filesIn(dir), after) << "stopped after " << k;
    }
}
