#include "consolidation/DayCommit.h"
#include "consolidation/DayResults.h"
#include "consolidation/RunDates.h"
#include "consolidation/Stocktake.h"
#include "platform/Regional.h"
#include "store/Configuration.h"
#include "store/FileCommit.h"
#include "support/TestDir.h"
#include "takings/SealCheck.h"
#include "takings/SealJournal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

// Each folder under tests/golden/ is one case of a shop: the files of its data
// directory before (input/), what it does (case.txt), and every file of the
// directory afterwards (expected/). The case is run once whole and once
// stopped after each step of its commit and finished as the next start
// finishes it; every run must leave exactly the expected files, and books
// that check clean. A case whose expected/ holds no Journal.dat leaves the
// seals (Journal.dat, its Jnl archives, Audit.dat) to that check alone.
//
// case.txt, one instruction a line ("#" starts a comment):
//   start                                 the program starts first: an older
//                                         shop's files get their opening seals
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
    bool start = false;
};

bool isSeal(const std::string& name) {
    return name == "Journal.dat" || name == "Audit.dat" || name.rfind("Jnl", 0) == 0;
}

// The files of `files`, without the seals when they are left to the check.
Files compared(Files files, bool withSeals) {
    if (withSeals) return files;
    std::erase_if(files, [](const auto& file) { return isSeal(file.first); });
    return files;
}

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
        if (word == "start") {
            c.start = true;
        } else if (word == "run") {
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
    const fs::path root = fs::path(ZORVI_SOURCE_DIR) / "tests" / "golden";
    size_t cases = 0;
    for (const auto& entry : fs::directory_iterator(root)) {
        if (!entry.is_directory()) continue;
        ++cases;
        const GoldenCase c = readCase(entry.path());
        const Files input = filesIn(entry.path() / "input");
        const Files expected = filesIn(entry.path() / "expected");
        const bool withSeals = expected.count("Journal.dat") > 0;
        // The last run is not stopped; a run stopped after its last step has
        // nothing left for the next start to finish.
        for (size_t k = 0;; ++k) {
            TestDir dir;
            for (const auto& [name, bytes] : input)
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
