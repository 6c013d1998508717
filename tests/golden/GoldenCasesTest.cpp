#include "consolidation/DayCommit.h"
#include "consolidation/DayResults.h"
#include "consolidation/RunDates.h"
#include "consolidation/Stocktake.h"
#include "platform/Regional.h"
#include "store/Configuration.h"
#include "store/FileCommit.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

// Each folder under tests/golden/ is one case of a shop: the files of its data
// directory before (input/), what it does (case.txt), and every file of the
// directory afterwards (expected/). The case is run once whole and once
// stopped after each step of its commit and finished as the next start
// finishes it; every run must leave exactly the expected files.
//
// case.txt, one instruction a line ("#" starts a comment):
//   run close | period-end | stocktake    what the shop does
//   date YYYY-MM-DD                       the day it is done on
//   z <line>                              the day's Z line for Cashup.dat

namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

struct GoldenCase {
    std::string name;
    std::string run;
    DateTime date;
    std::string zLine;
};

Files filesIn(const fs::path& dir) {
    Files files;
    for (const auto& e : fs::directory_iterator(dir))
        files[e.path().filename().string()] = ReadFileBytes(e.path().string());
    return files;
}

GoldenCase readCase(const fs::path& dir) {
    GoldenCase c;
    c.name = dir.filename().string();
    std::istringstream in(ReadFileBytes((dir / "case.txt").string()));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const size_t blank = line.find(' ');
        const std::string word = line.substr(0, blank);
        const std::string rest = blank == std::string::npos ? "" : line.substr(blank + 1);
        if (word == "run") {
            c.run = rest;
        } else if (word == "date") {
            if (std::sscanf(rest.c_str(), "%d-%d-%d", &c.date.year, &c.date.month, &c.date.day) !=
                3)
                ADD_FAILURE() << c.name << ": date " << rest;
        } else if (word == "z") {
            c.zLine = rest;
        } else {
            ADD_FAILURE() << c.name << ": unknown instruction " << line;
        }
    }
    return c;
}

// Runs the case in `dir`, stopping after `stopAfter` steps of its commit.
void runCase(const GoldenCase& c, const TestDir& dir, size_t stopAfter) {
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
    const fs::path root = fs::path(ZORVI_SOURCE_DIR) / "tests" / "golden";
    size_t cases = 0;
    for (const auto& entry : fs::directory_iterator(root)) {
        if (!entry.is_directory()) continue;
        ++cases;
        const GoldenCase c = readCase(entry.path());
        const Files input = filesIn(entry.path() / "input");
        const Files expected = filesIn(entry.path() / "expected");
        // The last run is not stopped; a run stopped after its last step has
        // nothing left for the next start to finish.
        for (size_t k = 0;; ++k) {
            TestDir dir;
            for (const auto& [name, bytes] : input)
                dir.write(name, bytes);
            runCase(c, dir, k);
            const bool finishedAtStart = !RecoverFileCommit(dir.path()).empty();
            EXPECT_EQ(dir.files(), expected) << c.name << ", stopped after " << k;
            if (!finishedAtStart || k > 64) break;
        }
    }
    EXPECT_GE(cases, 3u);
}
