#include "consolidation/DayCommit.h"
#include "consolidation/DayResults.h"
#include "consolidation/RunDates.h"
#include "consolidation/Stocktake.h"
#include "platform/Regional.h"
#include "store/Configuration.h"
#include "store/FileCommit.h"
#include "support/GoldenCase.h"
#include "support/TestDir.h"
#include "takings/SealCheck.h"
#include "takings/SealJournal.h"
#include "tills/Collect.h"

#include <filesystem>

#include <gtest/gtest.h>

// Runs the books cases of tests/golden/; their language is in its README.md.

namespace {

struct BooksCase {
    std::string name;
    std::string run;
    DateTime date;
    std::string zLine;
    bool start = false;
    std::vector<std::string> merged, found, holds;
};

bool isSeal(const std::string& name) {
    return name == "Journal.dat" || name == "Audit.dat" || name.rfind("Jnl", 0) == 0;
}

// The files of `files`, without the seals when they are left to the check.
GoldenFiles compared(GoldenFiles files, bool withSeals) {
    if (withSeals) return files;
    std::erase_if(files, [](const auto& file) { return isSeal(file.first); });
    return files;
}

BooksCase readCase(const GoldenCase& g) {
    BooksCase c;
    c.name = g.name;
    for (const GoldenCase::Step& s : g.steps) {
        if (s.word == "start") {
            c.start = true;
        } else if (s.word == "run") {
            c.run = s.rest;
        } else if (s.word == "date") {
            if (!ParseGoldenDate(s.rest, c.date)) ADD_FAILURE() << c.name << ": date " << s.rest;
        } else if (s.word == "z") {
            c.zLine = s.rest;
        } else if (s.word == "merged" || s.word == "found" || s.word == "holds") {
            (s.word == "merged"  ? c.merged
             : s.word == "found" ? c.found
                                 : c.holds)
                .push_back(s.rest);
        } else {
            ADD_FAILURE() << c.name << ": unknown instruction " << s.word;
        }
    }
    return c;
}

// Runs the case in `dir`, stopping after `stopAfter` steps of its commit.
void runCase(const BooksCase& c, const TestDir& dir, size_t stopAfter) {
    if (c.start) SealJournal(dir.path()).completeFromTakings(c.date);
    Configuration config;
    ASSERT_TRUE(ReadConfiguration(dir.file("Configur.dat"), config).found) << c.name;
    DeriveSwitches(config);
    const RunDates dates = MakeRunDates(c.date, RegionalFormats{});
    DayResults day;
    ASSERT_TRUE(ReadDayResults(dir.file("Results.dat"), config, dates.DateText, day)) << c.name;
    DayCommitOptions options;
    options.stopAfter = stopAfter;
    if (c.run == "close" || c.run == "period-end") {
        CommitDay(
            {dir.path(), config, config.InventoryOn, c.run == "period-end", dates, day, c.zLine},
            options);
    } else if (c.run == "stocktake") {
        CommitStocktake({dir.path(), config.InventoryOn, dates, day}, options);
    } else {
        FAIL() << c.name << ": nothing to run";
    }
}

} // namespace

TEST(GoldenCases, EveryCaseLeavesItsExpectedFilesWhereverItStops) {
    size_t cases = 0;
    for (const GoldenCase& g : ReadGoldenCases()) {
        if (g.find("screen") || readCase(g).run == "collect") continue;
        ++cases;
        const BooksCase c = readCase(g);
        const GoldenFiles& expected = g.expected;
        const bool withSeals = expected.count("Journal.dat") > 0;
        // The last run is not stopped; a run stopped after its last step has
        // nothing left for the next start to finish.
        for (size_t k = 0;; ++k) {
            TestDir dir;
            for (const auto& [name, bytes] : g.input)
                dir.write(name, bytes);
            runCase(c, dir, k);
            const bool finishedAtStart = !RecoverFileCommit(dir.path()).empty();
            EXPECT_EQ(compared(dir.files(), withSeals), expected)
                << c.name << ", stopped after " << k;
            const SealCheck books = CheckSeals(dir.path());
            EXPECT_EQ(SealCheckStatus(books), 0) << c.name << ", stopped after " << k << ": "
                                                 << testing::PrintToString(books.findings);
            if (!finishedAtStart || k > 64) break;
        }
    }
    EXPECT_GE(cases, 3u);
}

// The office's cases: what Collect reports, the expected files among the
// office's, and the same books when it runs again and after the tills have
// pruned the days acknowledged.
TEST(GoldenCases, TheOfficeCollectsEachDayOnce) {
    size_t cases = 0;
    for (const GoldenCase& g : ReadGoldenCases()) {
        if (g.find("screen")) continue;
        const BooksCase c = readCase(g);
        if (c.run != "collect") continue;
        ++cases;
        TestDir dir;
        for (const auto& [name, bytes] : g.input) {
            std::filesystem::create_directories(
                std::filesystem::path(dir.file(name)).parent_path());
            dir.write(name, bytes);
        }
        std::string today = g.find("date") ? g.find("date")->rest : "";
        std::erase(today, '-');
        const CollectResult result = Collect(dir.path(), today);
        EXPECT_EQ(result.merged, c.merged) << c.name;
        EXPECT_EQ(result.findings, c.found) << c.name;
        for (const std::string& hold : c.holds) {
            const std::string name = hold.substr(0, hold.find(' '));
            EXPECT_NE(dir.read(name).find(GoldenText(hold.substr(name.size() + 1))),
                      std::string::npos)
                << c.name << ": " << hold;
        }
        for (int run = 1;; ++run) {
            for (const auto& [name, bytes] : g.expected)
                EXPECT_EQ(dir.read(name), bytes) << c.name << ", " << name << ", run " << run;
            if (run == 3) break;
            if (run == 2) std::filesystem::remove_all(dir.file("Tills"));
            EXPECT_TRUE(Collect(dir.path(), today).merged.empty()) << c.name << ", run " << run;
        }
    }
    EXPECT_GE(cases, 1u);
}
