#include "store/FileCommit.h"
#include "platform/FileLock.h"
#include "store/IoError.h"
#include "store/TextRewriter.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>
#include <map>
#include <stdexcept>
#include <sys/stat.h>

namespace {

using Files = std::map<std::string, std::string>;

// Replaces one file (named in another case than on disk), adds one, deletes
// two (one of them missing) and files the day away.
void change(FileCommit& commit) {
    commit.replace("INVENTORY.DAT", "new inventory\r\n");
    commit.replace("Daybyday.dat", "day line\r\n");
    commit.remove("Inventory.new");
    commit.remove("Inventory.wrk");
    commit.remove("Balance.wrk");
    commit.move("Results.dat", "Res2026Dez.07a");
}

const Files Before = {{"Inventory.dat", "old inventory\r\n"},
                      {"inventory.new", " 1 +5\r\n"},
                      {"Inventory.wrk", "old inventory\r\n"},
                      {"Results.dat", "the day\r\n"},
                      {"Configur.dat", "untouched\r\n"}};
const Files After = {{"Inventory.dat", "new inventory\r\n"},
                     {"Daybyday.dat", "day line\r\n"},
                     {"Res2026Dez.07a", "the day\r\n"},
                     {"Configur.dat", "untouched\r\n"}};

void layOut(const TestDir& dir) {
    for (const auto& [name, bytes] : Before)
        dir.write(name, bytes);
}

} // namespace

TEST(FileCommit, AllOrNothingWhereverItStops) {
    {
        TestDir dir;
        layOut(dir);
        FileCommit commit(dir.path());
        change(commit);
        commit.commit();
        EXPECT_EQ(dir.files(), After);
    }
    // A crash after any number of operations: the next start finishes the rest,
    // and finishing it again changes nothing.
    for (size_t k = 0; k <= 6; ++k) {
        TestDir dir;
        layOut(dir);
        {
            FileCommit commit(dir.path());
            change(commit);
            commit.stopAfter(k);
            commit.commit();
        }
        EXPECT_TRUE(dir.exists("Commit.jnl")) << k;
        RecoverFileCommit(dir.path());
        EXPECT_EQ(dir.files(), After) << "stopped after " << k;
        RecoverFileCommit(dir.path());
        EXPECT_EQ(dir.files(), After) << "recovered twice after " << k;
    }
}

TEST(FileCommit, AChangeThatNeverReachedItsCommitLeavesTheOldFiles) {
    TestDir dir;
    layOut(dir);
    {
        FileCommit commit(dir.path());
        change(commit);
        // Dropped without commit: the staging files go at once.
    }
    EXPECT_EQ(dir.files(), Before);
}

TEST(FileCommit, RefusesNamesOutsideTheDataDirectoryAndTakenArchiveNames) {
    TestDir dir;
    layOut(dir);
    dir.write("Res2026Dez.07a", "yesterday\r\n");
    FileCommit commit(dir.path());
    for (const char* name : {"../Inventory.dat", "sub/Inventory.dat", "", ".."})
        EXPECT_THROW(commit.remove(name), std::invalid_argument) << name;
    EXPECT_THROW(commit.move("Results.dat", "res2026dez.07A"), IoError);
    commit.cancel();
    Files expected = Before;
    expected["Res2026Dez.07a"] = "yesterday\r\n";
    EXPECT_EQ(dir.files(), expected);
}

TEST(FileCommit, AStartFinishesTheJournalThenClearsAwayWhatCrashesLeft) {
    TestDir dir;
    layOut(dir);
    // A crash once the journal was in place; earlier ones, while staging, left
    // the rest: a half journal whose change must not be made.
    dir.write("Inventory.dat.~stg", "new inventory\r\n");
    dir.write("Commit.jnl", "R\tInventory.dat\tInventory.dat.~stg\r\nEND\r\n");
    const Files leftovers = {{"Daybyday.dat.~stg.~tmp", "half a day"},
                             {"Spersons.dat.~stg", "A   ANNA"},
                             {"Commit.jnl.~stg", "R\tSpersons.dat"},
                             {"Configur.dat.~tmp", "half a setup"},
                             {"Zorvi.~probe", ""},
                             {"consolid.lck", ""},
                             {"zorvi.lck", "8:00"}};
    // The shop's own files, however like ours their names look.
    const Files shops = {{"Notes.~tm", "n"}, {"tmp", "t"}, {"Consolid.lck.old", "c"}};
    for (const Files* files : {&leftovers, &shops})
        for (const auto& [name, bytes] : *files)
            dir.write(name, bytes);
    EXPECT_EQ(RecoverFileCommit(dir.path()), "");
    Files expected = Before;
    expected["Inventory.dat"] = "new inventory\r\n";
    expected.insert(shops.begin(), shops.end());
    EXPECT_EQ(dir.files(), expected);
}

TEST(FileCommit, AStartLeavesTheWorkOfARunningCopyAlone) {
    TestDir dir;
    layOut(dir);
    // Another copy is rewriting a file and consolidating.
    std::optional<TextRewriter> setup = TextRewriter::Open(dir.file("Configur.dat"));
    ASSERT_TRUE(setup);
    setup->writeLine("new setup");
    FileLock consolidating;
    ASSERT_TRUE(consolidating.tryAcquire(dir.file("Consolid.lck")));
    RecoverFileCommit(dir.path());
    EXPECT_TRUE(dir.exists("Configur.dat.~tmp"));
    EXPECT_TRUE(dir.exists("Consolid.lck"));
    setup->commit();
    consolidating.release();

    // Another copy is staging a change.
    {
        FileCommit change(dir.path());
        change.replace("Inventory.dat", "new inventory\r\n");
        RecoverFileCommit(dir.path());
        EXPECT_TRUE(dir.exists("Inventory.dat.~stg"));
        change.commit();
    }
    Files expected = Before;
    expected["Inventory.dat"] = "new inventory\r\n";
    expected["Configur.dat"] = "new setup\r\n";
    EXPECT_EQ(dir.files(), expected);
}

// A replaced file keeps the rights the shop gave it, before and after a
// crash; one the shop made read-only is refused before anything changes.
TEST(FileCommit, ReplacedFilesKeepTheirRightsAndReadOnlyOnesAreRefused) {
    for (size_t stop : {static_cast<size_t>(-1), static_cast<size_t>(0)}) {
        TestDir dir;
        dir.write("Spersons.dat", "old\r\n");
        ::chmod(dir.file("Spersons.dat").c_str(), 0640);
        {
            FileCommit commit(dir.path());
            commit.stopAfter(stop);
            commit.replace("Spersons.dat", "new\r\n");
            commit.commit();
        }
        RecoverFileCommit(dir.path());
        EXPECT_EQ(dir.read("Spersons.dat"), "new\r\n");
        struct stat st {};
        ASSERT_EQ(::stat(dir.file("Spersons.dat").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
    }
    TestDir dir;
    dir.write("Inventory.dat", "old\r\n");
    ::chmod(dir.file("Inventory.dat").c_str(), 0444);
    FileCommit commit(dir.path());
    try {
        commit.replace("Inventory.dat", "new\r\n");
        FAIL() << "a read-only file was taken";
    } catch (const IoError& e) {
        EXPECT_EQ(e.message(), "I/O error in file " + dir.file("Inventory.dat") +
                                   "\r\nThe file is read-only: " + dir.file("Inventory.dat"));
    }
    EXPECT_EQ(dir.read("Inventory.dat"), "old\r\n");
    EXPECT_FALSE(dir.exists("Inventory.dat.~stg"));
}
