#include "tills/Collect.h"

#include "consolidation/PeriodArchives.h"
#include "reports/ShopRecords.h"
#include "support/GoldenCase.h"
#include "tills/Outbox.h"
#include "tills/TillDays.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

using namespace TillDays;
namespace fs = std::filesystem;

namespace {

// The office's Daybyday.dat after it collected till 1's day, and both days.
std::string officeDayByDay(const char* goldenCase) {
    return ReadGoldenCase(fs::path(ZORVI_SOURCE_DIR) / "tests" / "golden" / goldenCase)
        .expected.at("Daybyday.dat");
}

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
    std::map<std::string, std::string> books() const {
        return {{"Daybyday.dat", office.read("Daybyday.dat")},
                {"Spersons.dat", office.read("Spersons.dat")},
                {"Collected.dat", office.read("Collected.dat")},
                {"Balance.dat", office.read("Balance.dat")},
                {"Balance.Tot", office.read("Balance.Tot")}};
    }
};

} // namespace

// What Collect merges and reports is in the golden collect cases; here a
// day that comes twice, changed, and one that comes late.
TEST(Collect, TheSameDayArrivingOnceMoreChangedIsRefused) {
    Office o;
    EXPECT_TRUE(Collect(o.office.path(), "20261207").findings.empty());
    const auto books = o.books();
    fs::remove_all(o.office.file("Tills"));
    fs::create_directories(o.office.file("Tills/T02"));
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
    EXPECT_EQ(o.office.read("Daybyday.dat"), own + officeDayByDay("collect-day-file-changed"));
    fs::rename(o.office.file("late"), o.office.file("Tills/T02"));
    EXPECT_TRUE(Collect(o.office.path(), "20261207").findings.empty());
    EXPECT_EQ(o.office.read("Daybyday.dat"), own + officeDayByDay("collect-two-tills"));

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
