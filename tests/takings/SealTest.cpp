#include "consolidation/DayCommit.h"
#include "consolidation/Stocktake.h"
#include "store/AuditTrail.h"
#include "store/Configuration.h"
#include "store/FileCommit.h"
#include "support/TestDir.h"
#include "takings/SealCheck.h"
#include "takings/SealJournal.h"
#include "takings/TakingsJournal.h"
#include "till/SaleState.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace {

const DateTime At{2026, 12, 7, 9, 5, 30};
const std::string Start = "* START of SALE   07/12/26 9:05:";
const std::string Line =
    "A APPLE             1.00       1.20         2.50         2.50          2.50";
// Worked out apart, with sha256sum.
const std::string FirstSeal = "         1 L 2026-12-07 09:05:30 Results.dat    "
                              "97cf6779b2d74f178e7bc1e842757b9ffc8d90caec945825d4106cc1a7eb3350 "
                              "138eea00b657da2f459c854bfe375ef2a32db2b3d306643c1139736cb14d2812";

struct SealedShop {
    TestDir dir;
    TakingsJournal journal{dir.path()};
    SealedShop() {
        journal.setClock([] { return At; });
        journal.WriteStartRecord("07/12/26 9:05:30");
        SaleState sale;
        sale.PaidCash = 2.5;
        sale.SaleTotal = 2.5;
        sale.Received = 2.5;
        journal.WriteResultsTotal(sale, "9:06");
        journal.close();
    }
    std::vector<std::string> check() { return SealCheckReport(CheckSeals(dir.path())); }
};

const RunDates December7{"07/12/26", "2026", "Dez", "07", false};

// Closes the day, the period or the stocktake, stopped after `stopAfter`
// operations of its commit as a crash would, and finished as a start does.
void close(const TestDir& dir, char how, size_t stopAfter = static_cast<size_t>(-1)) {
    dir.write("Pricelist.dat",
              " APPLE         Apple                            1.20       2.50 10\r\n");
    Configuration config = DefaultConfiguration();
    DayResults day;
    ASSERT_TRUE(ReadDayResults(dir.file("Results.dat"), config, "07/12/26", day));
    DayCommitOptions options;
    options.stopAfter = stopAfter;
    if (how == 'S')
        CommitStocktake({dir.path(), true, December7, day, At}, options);
    else
        CommitDay({dir.path(), config, true, how == 'P', December7, day, "", At}, options);
    RecoverFileCommit(dir.path());
}

} // namespace

TEST(Seals, EachTakingsLineIsSealedAndAChangedByteIsNamed) {
    SealedShop shop;
    EXPECT_EQ(shop.dir.read("Journal.dat").substr(0, FirstSeal.size() + 2), FirstSeal + "\r\n");
    EXPECT_EQ(shop.check(),
              std::vector<std::string>{"OK: 2 journal lines, 2 takings lines in 2 files checked"});
    SealLine first;
    ASSERT_TRUE(ParseSealLine(FirstSeal, first));
    EXPECT_EQ(SealLineText(first), FirstSeal);

    std::string takings = shop.dir.read("Results.dat");
    takings[Start.size() + 2 + 20] ^= 1; // a figure of the total record
    shop.dir.write("Results.dat", takings);
    const SealCheck changed = CheckSeals(shop.dir.path());
    ASSERT_EQ(changed.findings.size(), 1u);
    EXPECT_EQ(changed.findings[0].rfind("Results.dat line 2: changed (expected ", 0), 0u);
}

TEST(Seals, LinesAStopLeftUnsealedAreSealedAtStartAndAnOldShopOpensItsChain) {
    SealedShop shop;
    // The takings line was written, the power went before its seal.
    shop.dir.write("Results.dat", shop.dir.read("Results.dat") + Line + "\r\n");
    EXPECT_EQ(shop.check(), std::vector<std::string>{"Results.dat line 3: added, without a seal"});
    Notices told = shop.journal.CompleteSeals();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].text, "The journal " + shop.dir.file("Journal.dat") +
                                " was completed with 1 line(s) of the takings file that a stop "
                                "had left without their seal.");
    EXPECT_EQ(shop.check(),
              std::vector<std::string>{"OK: 3 journal lines, 3 takings lines in 2 files checked"});
    EXPECT_TRUE(shop.journal.CompleteSeals().empty());

    // An older shop's lasting files are sealed as found, not reported.
    TestDir old;
    old.write("Results.dat", Start + "\r\n" + Line + "\r\n");
    old.write("Daybyday.dat", "kept\r\n");
    TakingsJournal journal(old.path());
    EXPECT_TRUE(journal.CompleteSeals().empty());
    EXPECT_EQ(old.read("Journal.dat").substr(0, 13), "         1 O ");
    EXPECT_EQ(old.read("Journal.dat").substr(179, 48),
              "         2 O 2000-01-01 00:00:00 Daybyday.dat   ");
    EXPECT_EQ(SealCheckReport(CheckSeals(old.path())),
              std::vector<std::string>{"OK: 4 journal lines, 2 takings lines in 3 files checked"});

    // A new shop opens its chain at its first start, before any sale, so that
    // nothing changed meanwhile is sealed as found; with nothing to seal it
    // has no journal yet.
    TestDir fresh;
    fresh.write("Daybyday.dat", "kept\r\n");
    EXPECT_TRUE(TakingsJournal(fresh.path()).CompleteSeals().empty());
    const std::string opened = fresh.read("Journal.dat");
    EXPECT_EQ(opened.size(), 179u);
    EXPECT_EQ(opened.substr(0, 13) + opened.substr(33, 15), "         1 O Daybyday.dat   ");
    EXPECT_EQ(SealCheckStatus(CheckSeals(fresh.path())), 0);
    EXPECT_TRUE(TakingsJournal(fresh.path()).CompleteSeals().empty());
    EXPECT_EQ(fresh.read("Journal.dat"), opened);
    TestDir empty;
    EXPECT_TRUE(TakingsJournal(empty.path()).CompleteSeals().empty());
    EXPECT_FALSE(empty.exists("Journal.dat"));
}

TEST(Seals, ARecordStoppedAtAnyStepIsCompletedAtTheNextStart) {
    const std::string completed = " was completed with 1 line(s) of the takings file that a stop "
                                  "had left without their seal.";
    const std::string cut = " left by a power cut; the end is cut off, and the takings lines it "
                            "would have sealed are sealed again.";
    struct Case {
        const char* stop;
        bool lineWritten;
        std::string journalEnd;        // what the stop left after the last whole seal
        std::vector<std::string> told; // after "The journal <path>"
    };
    const std::vector<Case> cases = {
        {"before the takings line", false, "", {}},
        {"between the takings line and its seal", true, "", {completed}},
        {"half way through the seal",
         true,
         "         3 L 2026-12-07 09:0",
         {" ended in half a line" + cut, completed}},
        {"with the seal's bytes never on disk",
         true,
         std::string(7, '\0'),
         {" ended in 7 empty bytes" + cut, completed}},
        {"both",
         true,
         "         3 L 20" + std::string(3, '\0'),
         {" ended in 3 empty bytes and half a line" + cut, completed}},
    };
    for (const Case& c : cases) {
        SealedShop shop;
        if (c.lineWritten)
            shop.dir.write("Results.dat", shop.dir.read("Results.dat") + Line + "\r\n");
        shop.dir.write("Journal.dat", shop.dir.read("Journal.dat") + c.journalEnd);
        TakingsJournal next(shop.dir.path());
        next.setClock([] { return At; });
        std::vector<std::string> told;
        for (const Notice& notice : next.CompleteSeals())
            told.push_back(
                notice.text.substr(("The journal " + shop.dir.file("Journal.dat")).size()));
        EXPECT_EQ(told, c.told) << c.stop;
        const size_t lines = c.lineWritten ? 3 : 2;
        EXPECT_EQ(shop.check(),
                  std::vector<std::string>{"OK: " + std::to_string(lines) + " journal lines, " +
                                           std::to_string(lines) +
                                           " takings lines in 2 files checked"})
            << c.stop;
    }
    // A last seal whole but for its line end keeps it, and gets one.
    SealedShop shop;
    const std::string journal = shop.dir.read("Journal.dat");
    shop.dir.write("Journal.dat", journal.substr(0, journal.size() - 2));
    EXPECT_TRUE(TakingsJournal(shop.dir.path()).CompleteSeals().empty());
    EXPECT_EQ(shop.dir.read("Journal.dat"), journal);
}

TEST(Seals, TheCloseSealsTheArchiveWholeAndItsLinesStayChecked) {
    SealedShop shop;
    shop.dir.write("Pricelist.dat", "");
    Configuration config = DefaultConfiguration();
    DayResults day;
    ASSERT_TRUE(ReadDayResults(shop.dir.file("Results.dat"), config, "07/12/26", day));
    CommitDay({shop.dir.path(),
               config,
               false,
               false,
               {"07/12/26", "2026", "Dez", "07", false},
               day,
               "",
               At});
    EXPECT_EQ(shop.check(),
              std::vector<std::string>{"OK: 7 journal lines, 2 takings lines in 6 files checked"});
    // The till's journal, held open through the close, seals into the new one.
    shop.journal.WriteStartRecord("08/12/26 9:00:00");
    EXPECT_EQ(shop.check(),
              std::vector<std::string>{"OK: 8 journal lines, 3 takings lines in 7 files checked"});
    // A plain editor changes one byte of an archived line.
    std::string archive = shop.dir.read("Res2026Dez.07");
    archive[3] = 'X';
    shop.dir.write("Res2026Dez.07", archive);
    const std::vector<std::string> found = shop.check();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].rfind("Res2026Dez.07 line 1: changed (expected ", 0), 0u);
    EXPECT_EQ(SealCheckStatus(CheckSeals(shop.dir.path())), 1);
    // An archived journal edited to match is found by the chain.
    shop.dir.write("Jnl2026Dez.07", shop.dir.read("Jnl2026Dez.07") + "x\r\n");
    EXPECT_EQ(shop.check().back(), "Jnl2026Dez.07: changed since it was archived");
}

TEST(Seals, EveryCloseSealsItsFilesWhereverItStops) {
    for (char how : {'D', 'P', 'S'}) {
        for (size_t k = 0; k <= 16; ++k) {
            SealedShop shop;
            close(shop.dir, how, k);
            const SealCheck check = CheckSeals(shop.dir.path());
            EXPECT_TRUE(check.findings.empty())
                << how << " stopped after " << k << ": " << check.findings.front();
            EXPECT_GE(check.files, 2u);
        }
    }
}

TEST(Seals, AChangedMissingOrAddedLastingFileIsNamedUnlessAuditDatExplainsIt) {
    struct Case {
        const char* what;
        std::function<void(const TestDir&)> change;
        std::string said;
        int status;
    };
    const auto inventoryUpdate = [](const TestDir& dir) {
        const AuditSnapshot audit(dir.path(), {"Inventory.dat"});
        dir.write("Inventory.dat", dir.read("Inventory.dat") + "more\r\n");
        audit.record(At, "inventory update");
    };
    const Case cases[] = {
        {"byte", [](const TestDir& d) { d.write("Daybyday.dat", "x" + d.read("Daybyday.dat")); },
         "Daybyday.dat: changed (expected ", 1},
        {"gone", [](const TestDir& d) { std::filesystem::remove(d.file("Spersons.dat")); },
         "Spersons.dat: missing", 1},
        {"added", [](const TestDir& d) { d.write("Balance.dat", "new\r\n"); },
         "Balance.dat: added, without a seal", 1},
        {"audited", inventoryUpdate, "EXPLAINED Inventory.dat: changed (expected ", 0},
    };
    for (const Case& c : cases) {
        SealedShop shop;
        close(shop.dir, 'D');
        ASSERT_EQ(SealCheckStatus(CheckSeals(shop.dir.path())), 0);
        c.change(shop.dir);
        const SealCheck check = CheckSeals(shop.dir.path());
        const std::vector<std::string> report = SealCheckReport(check);
        EXPECT_EQ(SealCheckStatus(check), c.status) << c.what;
        EXPECT_EQ(report.back().substr(0, c.said.size()), c.said) << c.what;
    }
    // The explained change names what made it.
    SealedShop shop;
    close(shop.dir, 'D');
    inventoryUpdate(shop.dir);
    const std::string explained = SealCheckReport(CheckSeals(shop.dir.path())).back();
    EXPECT_TRUE(explained.ends_with(" by inventory update (owner, 2026-12-07 09:05:30, 1 line(s))"))
        << explained;
}
