#include "consolidation/DayResults.h"
#include "platform/Regional.h"
#include "support/CaseTable.h"
#include "support/TestDir.h"
#include "takings/TakingsJournal.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

const std::string Start = "* START of SALE   07/12/26 08:00\r\n";
const std::string Bread =
    "A BREAD             2.00       1.10         2.25         2.25          4.50\r\n";
const std::string Repair =
    "b /REPAIR           1.00       0.00        12.34        12.34         12.34\r\n";
const std::string Unattended =
    "@ /REPAIR           1.00       2.00        20.00        20.00         20.00\r\n";
const std::string PaidTotal = "# Total*** 8:30    4.50     0.00     0.00             0.00        "
                              "4.50        5.00  0.50\r\n";

} // namespace

TEST(TakingsJournal, LinesWithoutTheirTotalAtTheEndAreBookedBack) {
    for (const TestCase& c : ReadCases("takings/unfinished-sales.cases")) {
        SCOPED_TRACE(c.where + " " + c.name);
        TestDir dir;
        dir.write("Results.dat", c.crlf("before"));
        TakingsJournal journal(dir.path());
        const std::optional<CancelledSale> cancelled = journal.CancelUnfinishedSale("9:05");
        journal.close();
        const bool cancels = c.sections.count("appended") != 0;
        EXPECT_EQ(dir.read("Results.dat"), c.crlf("before") + (cancels ? c.crlf("appended") : ""));
        ASSERT_EQ(cancelled.has_value(), cancels);
        if (!cancelled) continue;
        EXPECT_EQ(cancelled->lines, static_cast<size_t>(c.number("lines")));
        EXPECT_NEAR(cancelled->amount, c.number("amount"), 1e-9);
        // Once cancelled, the next start finds nothing more to do.
        EXPECT_FALSE(TakingsJournal(dir.path()).CancelUnfinishedSale("9:10"));
    }
}

TEST(TakingsJournal, TheConsolidationBooksACancelledSaleToNothing) {
    TestDir dir;
    dir.write("Results.dat", Start + Bread + PaidTotal + Bread + Repair + Unattended);
    ASSERT_TRUE(TakingsJournal(dir.path()).CancelUnfinishedSale("9:05"));
    Configuration config;
    config.SalesPersonCode = {"A", "B", "C", "D", "E"};
    DayResults day;
    ASSERT_TRUE(ReadDayResults(dir.file("Results.dat"), config, "07/12/26", day));
    EXPECT_EQ(day.faultyLines, 0u);
    // Only the paid bread is left.
    const ConsolidationTotals& t = day.totals;
    const SalesPersonTotals& p = day.persons;
    const auto& bread = day.byCode["BREAD        "];
    const auto& repair = day.byCode["/REPAIR      "];
    const double got[] = {t.TotQuantity,      t.TotWholesale,       t.TotSalesValue,
                          t.TotServicesQty,   t.TotServicesTotal,   t.TotCash,
                          t.TotNet,           p.SpSalesQty[0],      p.SpSalesTotal[0],
                          p.SpServicesQty[1], p.SpServicesTotal[1], bread.quantity,
                          bread.amount,       repair.quantity,      repair.amount};
    const double want[] = {2, 2.20, 4.50, 0, 0, 4.50, 4.50, 2, 4.50, 0, 0, 2, 4.50, 0, 0};
    for (size_t i = 0; i < std::size(want); ++i)
        EXPECT_NEAR(got[i], want[i], 1e-9) << i;
}

TEST(TakingsJournal, ACancelledSaleIsToldWithItsAmountAsTheScreensShowIt) {
    RegionalFormats formats;
    EXPECT_EQ(CancelledSaleNotice({2, 1234.5}, formats).text,
              "The last sale was not finished (2 lines, $1,234.50); it is cancelled");
    EXPECT_EQ(CancelledSaleNotice({1, -40}, formats).text,
              "The last sale was not finished (1 line, -$40.00); it is cancelled");
    EXPECT_EQ(CancelledSaleNotice({1, 4.5}, formats).kind, Notice::Kind::Message);
    formats.currencySymbol = "EUR";
    formats.symbolBefore = false;
    formats.symbolSpaced = true;
    formats.decimalSeparator = ',';
    formats.thousandsSeparator = ".";
    EXPECT_EQ(CancelledSaleNotice({3, 16.84}, formats).text,
              "The last sale was not finished (3 lines, 16,84 EUR); it is cancelled");
}

TEST(TakingsJournal, ATornEndIsCutAndEndedBeforeTheNextRecord) {
    const std::string nuls(70000, '\0'); // more than one block read back
    const struct {
        const char* what;
        std::string before, after;
        bool nulNote, lineNote;
    } cases[] = {
        {"whole lines", Start + Bread, Start + Bread, false, false},
        {"an empty file", "", "", false, false},
        {"half a line", Start + "A BRE", Start + "A BRE\r\n", false, true},
        {"a line end cut after its CR", Start + "A BREAD\r", Start + "A BREAD\r\n", false, true},
        {"a tail of NUL bytes", Start + Bread + std::string(4, '\0'), Start + Bread, true, false},
        {"a long tail of NUL bytes", Start + nuls, Start, true, false},
        {"half a line and NUL bytes", Start + "A BRE" + std::string(3, '\0'), Start + "A BRE\r\n",
         true, true},
        {"nothing but NUL bytes", nuls, "", true, false},
        {"NUL bytes inside the last line stay", Start + "A B" + std::string(2, '\0') + "D\r\n",
         Start + "A B" + std::string(2, '\0') + "D\r\n", false, false},
    };
    for (const auto& c : cases) {
        TestDir dir;
        dir.write("Results.dat", c.before);
        const Notices notices = TakingsJournal(dir.path()).RepairTornEnd();
        EXPECT_EQ(dir.read("Results.dat"), c.after) << c.what;
        ASSERT_EQ(notices.size(), size_t(c.nulNote) + size_t(c.lineNote)) << c.what;
        for (const Notice& n : notices)
            EXPECT_EQ(n.kind, Notice::Kind::Note) << c.what;
        if (c.nulNote) {
            EXPECT_NE(notices.front().text.find("empty bytes"), std::string::npos) << c.what;
        }
        if (c.lineNote) {
            EXPECT_NE(notices.back().text.find("cut short"), std::string::npos) << c.what;
        }
    }
}

// No takings file stays absent; one that is a device is not repaired.
TEST(TakingsJournal, NoTakingsFileOrADeviceIsLeftAlone) {
    TestDir dir;
    EXPECT_FALSE(TakingsJournal(dir.path()).CancelUnfinishedSale("9:05"));
    EXPECT_TRUE(TakingsJournal(dir.path()).RepairTornEnd().empty());
    EXPECT_FALSE(dir.exists("Results.dat"));
    ASSERT_EQ(::symlink("/dev/zero", dir.file("Results.dat").c_str()), 0);
    TakingsJournal journal(dir.path());
    EXPECT_TRUE(journal.RepairTornEnd().empty());
    EXPECT_FALSE(journal.CancelUnfinishedSale("9:05"));
}
