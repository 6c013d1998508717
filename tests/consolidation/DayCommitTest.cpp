#include "consolidation/DayCommit.h"
#include "consolidation/BalanceSheet.h"
#include "consolidation/ConsolidationError.h"
#include "consolidation/DayResults.h"
#include "consolidation/Reports.h"
#include "store/FileCommit.h"
#include "support/CaseTable.h"
#include "support/TestDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using Files = std::map<std::string, std::string>;

Configuration shop() {
    Configuration config;
    config.SalesPersonCode = {"A", "B", "C", "D", "E"};
    config.SalesPersonName = {"ANNA", "BEN", "C", "D", "E"};
    config.LowStockPercent = 10;
    return config;
}

void layOut(const TestDir& dir, const Files& files) {
    for (const auto& [name, bytes] : files)
        dir.write(name, bytes);
}

// The golden case "day-close", written out by hand there: A sells three
// apples and two pears at a discount, B takes back an apple and sells a
// repair, and the rent is paid.
Files dayClose(const char* part) {
    Files files;
    const std::filesystem::path dir =
        std::filesystem::path(ZORVI_SOURCE_DIR) / "tests/golden/day-close" / part;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        files[e.path().filename().string()] = ReadFileBytes(e.path().string());
    return files;
}
const Files Before = dayClose("input");
const std::string Takings = Before.at("Results.dat");
const std::string PriceList = Before.at("Pricelist.dat");

// The golden case leaves the seals to their own check; here they are too.
Files after() {
    Files files = dayClose("expected");
    const TestCase journals = ReadCases("consolidation/day-close-journal.cases").at(0);
    for (const char* name : {"Jnl2026Dez.05a", "Journal.dat"})
        files[name] = journals.crlf(name);
    return files;
}

RunDates december5() {
    return RunDates{"05/12/26", "2026", "Dez", "05", false};
}

DayCommitResult consolidate(const TestDir& dir, const Configuration& config,
                            const DayCommitOptions& options = {}, bool periodEnd = false) {
    DayResults day;
    EXPECT_TRUE(ReadDayResults(dir.file("Results.dat"), config, "05/12/26", day));
    // The day's Z line goes with Cashup.dat where the shop keeps one.
    const std::string z =
        dir.exists("Cashup.dat")
            ? "Z      3 05/12/26 18:00          10.00        37.70        37.70         0.00"
            : "";
    return CommitDay({dir.path(), config, true, periodEnd, december5(), day, z}, options);
}

} // namespace

TEST(Consolidation, DayOfSalesReturnServiceAndExpenseWhereverItStops) {
    // Daybyday, Spersons, Inventory, Inventory.wrk, the counts' archive,
    // Cashup.dat, the journal's archive, Journal.dat, Results.dat; the last
    // run is not stopped.
    const Files After = after();
    for (size_t k = 0; k <= 10; ++k) {
        TestDir dir;
        layOut(dir, Before);
        DayCommitOptions options;
        if (k < 10) options.stopAfter = k;
        DayCommitResult result = consolidate(dir, shop(), options);
        EXPECT_EQ(result.archiveName, "Res2026Dez.05a");
        EXPECT_EQ(RecoverFileCommit(dir.path()),
                  k < 10
                      ? "The consolidation of 05/12/26 was interrupted and has now been finished."
                      : "")
            << k;
        EXPECT_EQ(dir.files(), After) << "stopped after " << k;
    }
}

TEST(Consolidation, UnreadableLineOfAKeptFileStopsBeforeAnyChange) {
    struct Case {
        const char* file;
        std::string bytes;
        const char* line;
    };
    const Case cases[] = {
        {"Spersons.dat", crlf({"*  heading", "A   ANNA   1.00  x.00  3.00  4.00"}), "Line 2"},
        {"Inventory.dat", crlf({" APPLE                 10        1.0"}), "Line 1"},
        {"Pricelist.dat", PriceList + crlf({" PLUM          Plum        1.00"}), "Line 5"},
    };
    for (const Case& c : cases) {
        TestDir dir;
        layOut(dir, Before);
        dir.write(c.file, c.bytes);
        Files before = dir.files();
        try {
            consolidate(dir, shop());
            ADD_FAILURE() << c.file << " went through";
        } catch (const ConsolidationError& e) {
            EXPECT_EQ(std::string(e.what()), std::string(c.line) + " of the file " +
                                                 dir.file(c.file) +
                                                 " cannot be read.\rNothing was changed.");
        }
        EXPECT_EQ(dir.files(), before) << c.file;
    }
}

TEST(Consolidation, EveryArchiveNameTakenChangesNothing) {
    TestDir dir;
    layOut(dir, Before);
    dir.write("Res2026Dez.05", "x");
    for (char letter = 'a'; letter <= 'z'; ++letter)
        dir.write(std::string("Res2026Dez.05") + letter, "x");
    Files before = dir.files();
    EXPECT_THROW(consolidate(dir, shop()), ConsolidationError);
    EXPECT_EQ(dir.files(), before);
}

TEST(Consolidation, FaultyTakingsLinesAreCountedAndLeftOut) {
    TestDir dir;
    // A phantom record inside a code, a line cut short by a crash, NUL bytes,
    // an unknown marker and a missing number.
    dir.write(
        "Results.dat",
        Takings +
            crlf({"A APPLE             1.00       1.20   ",
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
    const TestCase expected = ReadCases("consolidation/day-reports.cases").at(0);
    EXPECT_EQ(DayReportLines(day.totals, day.headerText, formats), expected.lines("day"));
    EXPECT_EQ(SalesPersonTableLines(day.persons, config, formats), expected.lines("persons"));
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
        {"Balance.dat", crlf({"BALANCE SHEET      Nov2026", "CASH TOTAL         1x0.00"}),
         "Empty or faulty file balance file.\rLine 2"},
        {"Balance.dat", "", "Empty or faulty file balance file.\rLine 1"},
        {"Daybyday.dat", crlf({"#  1.0       1.00        2.00", "?"}), "Line 1"},
    };
    for (const Case& c : cases) {
        TestDir dir;
        layOut(dir, Before);
        dir.write(c.file, c.bytes);
        const Files before = dir.files();
        try {
            consolidate(dir, shop(), {}, true);
            ADD_FAILURE() << c.file << " went through";
        } catch (const ConsolidationError& e) {
            EXPECT_EQ(std::string(e.what()), c.text + " of the file " + dir.file(c.file) +
                                                 " cannot be read.\rNothing was changed.");
        }
        EXPECT_EQ(dir.files(), before) << c.file;
    }
}
