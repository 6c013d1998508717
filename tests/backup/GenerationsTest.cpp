#include "backup/Generations.h"
#include "backup/BackupFolder.h"
#include "support/TestDir.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

// A backup at 18:30 on each day from `first` for `days` days.
std::vector<BackupStamp> everyDay(int year, int days) {
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::vector<BackupStamp> stamps;
    DateTime t{year, 1, 1, 18, 30, 0};
    for (int i = 0; i < days; ++i) {
        stamps.push_back({t, i});
        if (++t.day > lengths[t.month - 1]) {
            t.day = 1;
            if (++t.month > 12) t = {t.year + 1, 1, 1, 18, 30, 0};
        }
    }
    return stamps;
}

std::vector<std::string> keptNames(const std::vector<BackupStamp>& stamps,
                                   const GenerationCounts& counts) {
    std::vector<std::string> names;
    const std::vector<bool> kept = KeptGenerations(stamps, counts);
    for (size_t i = 0; i < stamps.size(); ++i)
        if (kept[i]) names.push_back(BackupFileName(stamps[i]).substr(6, 8));
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(Generations, KeepTheLastOfEachDayMonthAndYear) {
    // 2024 has one backup, 2025 two, and 2026 one every day; a second backup
    // late on 31 December replaces that day's first.
    std::vector<BackupStamp> stamps = everyDay(2026, 365);
    stamps.push_back({{2024, 3, 1, 9, 0, 0}, 0});
    stamps.push_back({{2025, 6, 15, 9, 0, 0}, 0});
    stamps.push_back({{2025, 12, 31, 9, 0, 0}, 0});
    stamps.push_back({{2026, 12, 31, 23, 59, 0}, 999});
    struct Case {
        GenerationCounts counts;
        size_t kept;
    } cases[] = {
        {{14, 12, 100}, 14 + 11 + 2}, // Dec 18-31, Jan to Nov, 2025 and 2024
        {{14, 0, 0}, 14},
        {{1, 12, 0}, 12},
        {{3, 1, 1}, 3},
        {{1, 0, 5}, 3},
        {{1, 24, 0}, 12 + 2 + 1}, // every month that has a backup
    };
    for (const Case& c : cases) {
        const auto names = keptNames(stamps, c.counts);
        EXPECT_EQ(names.size(), c.kept) << c.counts.days << " " << c.counts.months;
    }
    const auto names = keptNames(stamps, {2, 3, 2});
    EXPECT_EQ(names, (std::vector<std::string>{"20251231", "20261031", "20261130", "20261230",
                                               "20261231"}));
    // Of the two backups of 31 December, only the later one stays.
    const std::vector<bool> kept = KeptGenerations(stamps, {1, 0, 0});
    EXPECT_FALSE(kept[364]);
    EXPECT_TRUE(kept.back());
}

TEST(Generations, PruningRemovesOnlyZorvisOwnBackupFiles) {
    TestDir folder{"Backup"};
    const std::vector<BackupStamp> stamps = everyDay(2026, 40);
    for (const BackupStamp& s : stamps) {
        folder.write(BackupFileName(s), "archive");
        folder.write(BackupFileName(s) + ".sha256", "sum");
    }
    // Not ours, or a side file left without its archive.
    const std::vector<std::string> foreign = {"notes.txt", "zorvi-20260101-1830-Z0.tar.gz",
                                              "zorvi-2026.tar.zst",
                                              "Zorvi-20260101-1830-Z0.tar.zst"};
    for (const std::string& name : foreign)
        folder.write(name, "keep");
    folder.write("zorvi-20250101-1830-Z0.tar.zst.sha256", "orphan");

    const PruneResult pruned = PruneBackups(folder.path(), {7, 2, 0});
    EXPECT_TRUE(pruned.failed.empty());
    std::vector<std::string> left;
    for (const auto& [name, bytes] : folder.files())
        left.push_back(name);
    std::vector<std::string> expected = {"Zorvi-20260101-1830-Z0.tar.zst", "notes.txt",
                                         "zorvi-20260101-1830-Z0.tar.gz", "zorvi-2026.tar.zst"};
    // The last of January, and February 3 to 9 (the Z numbers count the days).
    for (int z : {30, 33, 34, 35, 36, 37, 38, 39}) {
        expected.push_back(BackupFileName(stamps[z]));
        expected.push_back(BackupFileName(stamps[z]) + ".sha256");
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
}

TEST(Generations, OnlyNamesOfExactlyOurPatternAreBackups) {
    // Pruning deletes by name: whatever does not parse is never touched.
    for (const char* name :
         {"zorvi-20261207-1830-Z0.tar.zst", "zorvi-20261207-1830-Z1234.tar.zst"}) {
        const std::optional<BackupStamp> stamp = ParseBackupFileName(name);
        ASSERT_TRUE(stamp) << name;
        EXPECT_EQ(BackupFileName(*stamp), name);
    }
    for (const char* name :
         {"zorvi-20261207-1830-Z007.tar.zst", "zorvi-20261307-1830-Z0.tar.zst",
          "zorvi-20261207-2460-Z0.tar.zst", "zorvi-2026127-1830-Z0.tar.zst",
          "zorvi-20261207-1830-Z.tar.zst", "zorvi-20261207-1830-Z0.tar.zst.sha256",
          "zorvi-20261207-1830-Z0.tar.zst.~part", "ZORVI-20261207-1830-Z0.tar.zst",
          "zorvi-20261207-1830-Z0.tar"})
        EXPECT_FALSE(ParseBackupFileName(name)) << name;
}
