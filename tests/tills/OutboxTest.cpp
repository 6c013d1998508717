#include "tills/Outbox.h"

#include "cashup/CashupFile.h"
#include "consolidation/DayCommit.h"
#include "store/FileCommit.h"
#include "support/GoldenCase.h"
#include "tills/TillDays.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

using namespace TillDays;

namespace {

std::set<std::string> namesIn(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

void closedTill1(const TestDir& dir, const std::string& options) {
    dir.write("Options.dat", options);
    dir.write("Res2026Dez.05a", Till1Takings);
    dir.write("Csh2026Dez.05a", Till1Cashup);
}

} // namespace

TEST(Outbox, ClosedDayLeavesItsWholeFolderWithManifest) {
    TestDir dir;
    closedTill1(dir, "till=1\r\n");
    const std::string zLine = Till1Cashup.substr(0, Till1Cashup.size() - 2);
    const std::optional<std::string> due =
        OutboxDueWith(dir.path(), december5(), "Res2026Dez.05a", zLine);
    EXPECT_EQ(due, "1 3 Res2026Dez.05a 2026 Dez 05 05/12/26\r\n");
    dir.write("Outbox.due", due.value_or(""));
    EXPECT_EQ(SendDueDays(dir.path(), shop()), "");
    EXPECT_FALSE(dir.exists("Outbox.due"));

    // The folder the office collects (the golden collect cases' till 1).
    EXPECT_EQ(GoldenFilesIn(dir.file("Outbox/20261205-T01-Z3")),
              GoldenFilesIn(std::filesystem::path(ZORVI_SOURCE_DIR) /
                            "tests/golden/collect-two-tills/input/Tills/T01/20261205-T01-Z3"));
    EXPECT_EQ(namesIn(dir.file("Outbox")), (std::set<std::string>{".stignore", "20261205-T01-Z3"}));
    EXPECT_EQ(dir.read("Outbox/.stignore"), OutboxIgnoreText());
}

TEST(Outbox, InterruptedWriteLeavesOnlyTheIgnoredName) {
    TestDir dir;
    closedTill1(dir, "till=1\r\n");
    const OutboxDay day{dir.path(), shop(), december5(), "Res2026Dez.05a", 3};
    for (size_t stop : {0, 2, 4}) {
        EXPECT_EQ(WriteDayOutbox(day, 1, {stop, false}), "");
        EXPECT_EQ(namesIn(dir.file("Outbox")),
                  (std::set<std::string>{".stignore", "20261205-T01-Z3.partial"}))
            << stop;
    }
    EXPECT_EQ(WriteDayOutbox(day, 1), "");
    EXPECT_EQ(namesIn(dir.file("Outbox")), (std::set<std::string>{".stignore", "20261205-T01-Z3"}));
    EXPECT_EQ(namesIn(dir.file("Outbox/20261205-T01-Z3")).size(), 5u);
    // A day once sent is never written again.
    dir.write("Outbox/20261205-T01-Z3/Daybyday.dat", "as the office has it");
    EXPECT_NE(WriteDayOutbox(day, 1), "");
    EXPECT_EQ(dir.read("Outbox/20261205-T01-Z3/Daybyday.dat"), "as the office has it");
}

TEST(Outbox, OnlyATillWithANumberSendsAndOnlyAcknowledgedOldDaysGo) {
    TestDir single;
    closedTill1(single, "# one till\r\n");
    EXPECT_EQ(OutboxDueWith(single.path(), december5(), "Res2026Dez.05a", Till1Cashup),
              std::nullopt);

    TestDir dir;
    struct Case {
        const char* folder;
        bool acknowledged;
        bool kept;
    } cases[] = {
        {"20261104-T01-Z1", true, false}, // 31 days before
        {"20261105-T01-Z2", true, true},  // 30 days before
        {"20261001-T01-Z0", false, true}, // never acknowledged
        {"20261001-T01-Z0.partial", true, true},
    };
    std::filesystem::create_directories(dir.file("Inbox"));
    for (const Case& c : cases) {
        std::filesystem::create_directories(dir.file("Outbox/") + c.folder);
        if (c.acknowledged) dir.write(std::string("Inbox/ack-") + c.folder, "");
    }
    PruneOutbox(dir.path(), "20261205");
    for (const Case& c : cases)
        EXPECT_EQ(dir.exists(std::string("Outbox/") + c.folder), c.kept) << c.folder;
}

namespace {

DayCommitResult closeTill2(const TestDir& dir, const DayCommitOptions& options = {}) {
    dir.write("Options.dat", "till=2\r\n");
    dir.write("Results.dat", Till2Takings);
    dir.write("Pricelist.dat",
              " PEAR          Pear                             0.80       1.50  5\r\n");
    DayResults day;
    EXPECT_TRUE(ReadDayResults(dir.file("Results.dat"), shop(), "05/12/26", day));
    const std::string z = CashCountLine({'Z', 7, "05/12/26", "18:00", ' ', 0, 3, std::nullopt});
    return CommitDay({dir.path(), shop(), false, false, december5(), day, z}, options);
}

} // namespace

TEST(Outbox, ACrashAnywhereAfterTheCloseGivesTheDayOneFolderAtTheNextStart) {
    const std::string due = "2 7 Res2026Dez.05 2026 Dez 05 05/12/26\r\n";
    const OutboxDay sent{"", shop(), december5(), "Res2026Dez.05", 7};
    // Stopped after each operation of the close's commit, then (the next
    // start) finished, with the day's folder stopped after each of its files.
    for (size_t k = 0; k <= 12; ++k) {
        TestDir dir;
        DayCommitOptions options;
        options.sync = false;
        options.stopAfter = k;
        closeTill2(dir, options);
        RecoverFileCommit(dir.path());
        ASSERT_TRUE(dir.exists("Res2026Dez.05")) << k;
        if (!dir.exists("Outbox.due")) {
            // Crashed after the folder's rename, before the list was rewritten.
            dir.write("Outbox.due", due);
        } else {
            EXPECT_EQ(dir.read("Outbox.due"), due) << k;
            OutboxDay half = sent;
            half.dataDir = dir.path();
            WriteDayOutbox(half, 2, {k % 6, false});
        }
        for (int start = 0; start < 2; ++start)
            EXPECT_EQ(SendDueDays(dir.path(), shop(), {static_cast<size_t>(-1), false}), "") << k;
        EXPECT_FALSE(dir.exists("Outbox.due")) << k;
        EXPECT_EQ(namesIn(dir.file("Outbox")),
                  (std::set<std::string>{".stignore", "20261205-T02-Z7"}))
            << k;
        EXPECT_EQ(dir.read("Outbox/20261205-T02-Z7/Daybyday.dat"), Till2DayByDay) << k;
    }
}

TEST(Outbox, TheCloseSendsItsDayWithItsArchives) {
    TestDir dir;
    const DayCommitResult result = closeTill2(dir);
    EXPECT_EQ(result.unfinished + result.outbox, "");
    EXPECT_EQ(namesIn(dir.file("Outbox/20261205-T02-Z7")),
              (std::set<std::string>{"Daybyday.dat", "Spersons.dat", "Res2026Dez.05",
                                     "Csh2026Dez.05", "Jnl2026Dez.05", "Manifest.txt"}));
    EXPECT_EQ(dir.read("Outbox/20261205-T02-Z7/Daybyday.dat"), Till2DayByDay);
}
