#include "tills/Collect.h"

#include "consolidation/PeriodArchives.h"
#include "reports/ShopRecords.h"
#include "tills/Outbox.h"
#include "tills/TillDays.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>

using namespace TillDays;
namespace fs = std::filesystem;

namespace {

// The office's Daybyday.dat: each till's lines under its folder's name and
// set in by a blank, then the date's total over the tills.
const std::string Till1Lines = crlf({
    " 20261205-T01-Z3",
    " *    05/12/26 09:00    ***   05/12/26",
    " #  4.0       4.00       28.00       27.70         7.70        0.00        20.00",
    " &                       20.00        0.00        27.70       40.00       -12.30  ",
});
const std::string Till1Office =
    Till1Lines +
    crlf({
        "*    05/12/26 all tills    ***   05/12/26",
        "#  4.0       4.00       28.00       27.70         7.70        0.00        20.00",
        "&                       20.00        0.00        27.70       40.00       -12.30  ",
    });
const std::string BothTillsOffice =
    Till1Lines +
    crlf({
        " 20261205-T02-Z7",
        " *    05/12/26 10:00    ***   05/12/26",
        " #  2.0       1.60        3.00        3.00         3.00        0.00         0.00",
        " &                        0.00        0.00         3.00        0.00         3.00  ",
        "*    05/12/26 all tills    ***   05/12/26",
        "#  6.0       5.60       31.00       30.70        10.70        0.00        20.00",
        "&                       20.00        0.00        30.70       40.00        -9.30  ",
    });

// An office with the days of two tills as Syncthing delivers them.
struct Office {
    TestDir till1{"till1"};
    TestDir till2{"till2"};
    TestDir office{"office"};

    Office() {
        till1.write("Res2026Dez.05a", Till1Takings);
        till1.write("Csh2026Dez.05a", Till1Cashup);
        till2.write("Res2026Dez.05a", Till2Takings);
        send(till1, 1, 3);
        send(till2, 2, 7);
        WriteConfiguration(office.file("Configur.dat"), shop());
    }
    void send(const TestDir& till, int number, long z) {
        EXPECT_EQ(WriteDayOutbox({till.path(), shop(), december5(), "Res2026Dez.05a", z}, number,
                                 {static_cast<size_t>(-1), false}),
                  "");
        const std::string name = "T0" + std::to_string(number);
        fs::create_directories(office.file("Tills/" + name));
        fs::copy(till.file("Outbox"), office.file("Tills/" + name),
                 fs::copy_options::recursive | fs::copy_options::skip_existing);
    }
    std::string day(int till, long z) const {
        return office.file("Tills/T0" + std::to_string(till) + "/20261205-T0" +
                           std::to_string(till) + "-Z" + std::to_string(z) + "/");
    }
    std::map<std::string, std::string> books() const {
        return {{"Daybyday.dat", office.read("Daybyday.dat")},
                {"Spersons.dat", office.read("Spersons.dat")},
                {"Collected.dat", office.read("Collected.dat")},
                {"Balance.dat", office.read("Balance.dat")},
                {"Balance.Tot", office.read("Balance.Tot")}};
    }
};

} // namespace

TEST(Collect, TwoTillsDaysAddUpToTheCentOnceOnly) {
    Office o;
    const CollectResult first = Collect(o.office.path(), "20261207");
    EXPECT_TRUE(first.findings.empty()) << first.findings.front();
    EXPECT_EQ(first.merged, (std::vector<std::string>{
                                "Till 1, 20261205, Z 3: takings 27.70 merged",
                                "Till 2, 20261205, Z 7: takings 3.00 merged",
                                "20261205: takings of the days merged 30.70",
                            }));
    EXPECT_EQ(o.office.read("Daybyday.dat"), BothTillsOffice);
    EXPECT_EQ(o.office.read("Spersons.dat"),
              crlf({
                  "*       05/12/26          Services                 Sales",
                  "A   ANNA             0.00        0.00        7.00       13.20",
                  "B   BEN              1.00       20.00       -1.00       -2.50",
                  "C   C                0.00        0.00        0.00        0.00",
                  "D   D                0.00        0.00        0.00        0.00",
                  "E   E                0.00        0.00        0.00        0.00",
              }));
    EXPECT_EQ(o.office.read("Balance.dat"), crlf({
                                                "BALANCE SHEET      Dez2026",
                                                "CASH TOTAL           10.70",
                                                "CHEQUE TOTAL          0.00",
                                                "CREDIT TOTAL         20.00",
                                                "TOTAL                30.70",
                                                "TAX TOTAL             0.00",
                                                "T01 CASH              7.70",
                                                "T01 CHEQUE            0.00",
                                                "T01 CREDIT           20.00",
                                                "T01 TOTAL            27.70",
                                                "T01 TAX               0.00",
                                                "T02 CASH              3.00",
                                                "T02 CHEQUE            0.00",
                                                "T02 CREDIT            0.00",
                                                "T02 TOTAL             3.00",
                                                "T02 TAX               0.00",
                                            }));
    const std::string tot = o.office.read("Balance.Tot");
    EXPECT_EQ(tot.substr(0, 132), crlf({
                                      "BALANCE SHEET      Dez2026          Totals",
                                      "CASH TOTAL           10.70 =         10.70",
                                      "CHEQUE TOTAL          0.00 =          0.00",
                                  }));
    EXPECT_NE(tot.find("\r\nT02 TOTAL             3.00 =          3.00\r\n"), std::string::npos);
    EXPECT_TRUE(o.office.exists("Acks/T01/ack-20261205-T01-Z3"));
    EXPECT_TRUE(o.office.exists("Acks/T02/ack-20261205-T02-Z7"));

    // Run again: nothing new, the same bytes.
    const auto books = o.books();
    const CollectResult again = Collect(o.office.path(), "20261207");
    EXPECT_TRUE(again.merged.empty());
    EXPECT_TRUE(again.findings.empty());
    EXPECT_EQ(o.books(), books);
    // The tills prune what was acknowledged: the books stay as they are.
    fs::remove_all(o.office.file("Tills"));
    EXPECT_TRUE(Collect(o.office.path(), "20261207").findings.empty());
    EXPECT_EQ(o.books(), books);
    fs::create_directories(o.office.file("Tills/T02"));

    // The same day arriving once more, changed, is refused.
    fs::remove_all(o.day(2, 7));
    o.till2.write("Res2026Dez.05a", Till1Takings);
    fs::remove_all(o.till2.file("Outbox"));
    o.send(o.till2, 2, 7);
    const CollectResult twice = Collect(o.office.path(), "20261207");
    EXPECT_TRUE(twice.merged.empty());
    EXPECT_EQ(twice.findings, (std::vector<std::string>{
                                  "Tills/T02/20261205-T02-Z7: Till 2, 20261205, Z 7 was merged "
                                  "before from a different copy; this one is not merged"}));
    EXPECT_EQ(o.books(), books);
}

// The office's own day from before it collected stays at the head.
TEST(Collect, ADayThatComesLateJoinsItsDateWhichEveryReaderCountsOnce) {
    Office o;
    const std::string own = crlf({
        "*    04/12/26 09:00    ***   04/12/26",
        "#  1.0       0.40        1.50        1.50         1.50        0.00         0.00",
        "&                        0.00        0.00         1.50        0.00         1.50  ",
    });
    o.office.write("Daybyday.dat", own);
    fs::rename(o.office.file("Tills/T02"), o.office.file("late"));
    EXPECT_TRUE(Collect(o.office.path(), "20261207").findings.empty());
    EXPECT_EQ(o.office.read("Daybyday.dat"), own + Till1Office);
    fs::rename(o.office.file("late"), o.office.file("Tills/T02"));
    EXPECT_TRUE(Collect(o.office.path(), "20261207").findings.empty());
    EXPECT_EQ(o.office.read("Daybyday.dat"), own + BothTillsOffice);

    // The export, the report and the graphs read the date's total only.
    ShopRecords records;
    RecordsCollector collector(records);
    ReadShopRecords({o.office.path(), {}, 0, "Daybyday.dat"}, collector);
    EXPECT_TRUE(records.problems.empty()) << records.problems.front();
    std::string markers;
    long long takings = 0;
    for (const DayByDayRow& row : records.days) {
        markers += row.marker;
        takings += row.amounts[2];
    }
    EXPECT_EQ(markers, "*#&*#&");
    EXPECT_EQ(takings, 150 + 3070);
    // So does a period end's archive.
    const DayArchive archive =
        ArchiveDayByDay(o.office.read("Daybyday.dat"), "Daybyday.dat", "31/12/26");
    EXPECT_DOUBLE_EQ(archive.period.TotTakings, 1.50 + 30.70);
    EXPECT_DOUBLE_EQ(archive.period.TotQuantity, 7.0);
}

TEST(Collect, BalanceSheetHasAColumnPerMonth) {
    Office o;
    fs::remove_all(o.till2.file("Outbox"));
    EXPECT_EQ(
        WriteDayOutbox(
            {o.till2.path(), shop(), {"02/01/27", "2027", "Jan", "02", false}, "Res2026Dez.05a", 8},
            2, {static_cast<size_t>(-1), false}),
        "");
    fs::copy(o.till2.file("Outbox/20270102-T02-Z8"), o.office.file("Tills/T02/20270102-T02-Z8"));
    EXPECT_TRUE(Collect(o.office.path(), "20270102").findings.empty());
    EXPECT_EQ(o.office.read("Balance.dat"), crlf({
                                                "BALANCE SHEET      Dez2026      Jan2027",
                                                "CASH TOTAL           10.70         3.00",
                                                "CHEQUE TOTAL          0.00         0.00",
                                                "CREDIT TOTAL         20.00         0.00",
                                                "TOTAL                30.70         3.00",
                                                "TAX TOTAL             0.00         0.00",
                                                "T01 CASH              7.70         0.00",
                                                "T01 CHEQUE            0.00         0.00",
                                                "T01 CREDIT           20.00         0.00",
                                                "T01 TOTAL            27.70         0.00",
                                                "T01 TAX               0.00         0.00",
                                                "T02 CASH              3.00         3.00",
                                                "T02 CHEQUE            0.00         0.00",
                                                "T02 CREDIT            0.00         0.00",
                                                "T02 TOTAL             3.00         3.00",
                                                "T02 TAX               0.00         0.00",
                                            }));
    EXPECT_NE(o.office.read("Balance.Tot")
                  .find("\r\nTOTAL                30.70         3.00 "
                        "=         33.70\r\n"),
              std::string::npos);
}

TEST(Collect, FaultyDaysAreReportedAndNeverMerged) {
    struct Case {
        const char* what;
        std::function<void(Office&)> spoil;
        std::string finding;
    } cases[] = {
        {"file changed",
         [](Office& o) { o.office.write("Tills/T02/20261205-T02-Z7/Daybyday.dat", "x\r\n"); },
         "Tills/T02/20261205-T02-Z7: Daybyday.dat does not match its manifest; the day is not "
         "merged"},
        {"conflict copy of a day",
         [](Office& o) {
             fs::rename(o.day(2, 7), o.office.file("Tills/T02/20261205-T02-Z7.sync-conflict-"
                                                   "20261205-180000-ABCDEFG"));
         },
         "Tills/T02/20261205-T02-Z7.sync-conflict-20261205-180000-ABCDEFG: a conflict copy made "
         "by Syncthing; not merged"},
        {"file not in the manifest",
         [](Office& o) { o.office.write("Tills/T02/20261205-T02-Z7/extra.dat", ""); },
         "Tills/T02/20261205-T02-Z7: extra.dat is not in its manifest; the day is not merged"},
        {"day in another till's folder",
         [](Office& o) {
             fs::rename(o.day(2, 7), o.office.file("Tills/T01/20261205-T02-Z7"));
             fs::remove_all(o.office.file("Tills/T02"));
         },
         "Tills/T01/20261205-T02-Z7: a day of till 2 in the folder of till 1; not merged"},
    };
    for (const Case& c : cases) {
        Office o;
        c.spoil(o);
        const CollectResult result = Collect(o.office.path(), "20261207");
        EXPECT_EQ(result.findings, std::vector<std::string>{c.finding}) << c.what;
        EXPECT_EQ(result.merged.front(), "Till 1, 20261205, Z 3: takings 27.70 merged") << c.what;
        EXPECT_EQ(o.office.read("Daybyday.dat"), Till1Office) << c.what;
    }
}

TEST(Collect, MissingZTwoTillsOfOneNumberAndWrongClocksAreReported) {
    Office o;
    o.till2.write("Res2026Dez.06a", Till2Takings);
    fs::remove_all(o.till2.file("Outbox"));
    EXPECT_EQ(WriteDayOutbox({o.till2.path(),
                              shop(),
                              {"06/12/26", "2026", "Dez", "06", false},
                              "Res2026Dez.06a",
                              10},
                             2, {static_cast<size_t>(-1), false}),
              "");
    // Another till set up with number 1 sends its own Z 3.
    EXPECT_EQ(
        WriteDayOutbox(
            {o.till2.path(), shop(), {"06/12/26", "2026", "Dez", "06", false}, "Res2026Dez.06a", 3},
            1, {static_cast<size_t>(-1), false}),
        "");
    fs::copy(o.till2.file("Outbox/20261206-T02-Z10"), o.office.file("Tills/T02/20261206-T02-Z10"));
    fs::copy(o.till2.file("Outbox/20261206-T01-Z3"), o.office.file("Tills/T01/20261206-T01-Z3"));
    const CollectResult result = Collect(o.office.path(), "20261207");
    EXPECT_EQ(result.findings,
              (std::vector<std::string>{
                  "Tills/T01/20261206-T01-Z3: till 1 sent Z 3 for another day as well "
                  "(Tills/T01/20261205-T01-Z3); do two tills have the same number? Not merged",
                  "Till 2: Z 8 to 9 missing between 7 and 10",
              }));
    EXPECT_EQ(result.merged.size(), 5u);

    // Till 2's clock goes back a day, then a year ahead.
    for (const auto& [dates, z] :
         {std::pair{RunDates{"04/12/26", "2026", "Dez", "04", false}, 8L},
          std::pair{RunDates{"04/12/27", "2027", "Dez", "04", false}, 9L}}) {
        EXPECT_EQ(WriteDayOutbox({o.till2.path(), shop(), dates, "Res2026Dez.06a", z}, 2,
                                 {static_cast<size_t>(-1), false}),
                  "");
        const std::string name = OutboxDate(dates) + "-T02-Z" + std::to_string(z);
        fs::copy(o.till2.file("Outbox/" + name), o.office.file("Tills/T02/" + name));
    }
    EXPECT_EQ(Collect(o.office.path(), "20261207").findings,
              (std::vector<std::string>{
                  "Tills/T01/20261206-T01-Z3: till 1 sent Z 3 for another day as well "
                  "(Tills/T01/20261205-T01-Z3); do two tills have the same number? Not merged",
                  "Till 2: Z 8 is dated 20261204, before Z 7 of 20261205; is the till's clock "
                  "right?",
                  "Till 2: Z 9 is dated 20271204, after today; is the till's clock right?",
                  "Till 2: Z 10 is dated 20261206, before Z 9 of 20271204; is the till's clock "
                  "right?",
              }));
}
