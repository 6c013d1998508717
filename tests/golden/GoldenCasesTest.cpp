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

#include <gtest/gtest.h>

// A case of a shop's books: the files of its data directory before, what it
// does, and every file of the directory afterwards (see support/GoldenCase.h).
// The case is run once whole and once stopped after each step of its commit
// and finished as the next start finishes it; every run must leave exactly
// the expected files, and books that check clean. A case whose expected/
// holds no Journal.dat leaves the seals (Journal.dat, its Jnl archives,
// Audit.dat) to that check alone. Cases with a "screen" instruction are the
// screen runner's (GoldenScreenCasesTest.cpp).
//
// case.txt:
//   start                                 the program starts first: an older
//                                         shop's files get their opening seals
//   run close | period-end | stocktake    what the shop does
//   date YYYY-MM-DD                       the day it is done on
//   z <line>                              the day's Z line for Cashup.dat

namespace {

struct BooksCase {
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
        if (g.find("screen")) continue;
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
