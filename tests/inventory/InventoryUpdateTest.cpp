#include "inventory/InventoryUpdate.h"
#include "store/DataFiles.h"
#include "store/FileCommit.h"
#include "store/IoError.h"
#include "support/CaseTable.h"
#include "support/NoticeTexts.h"
#include "support/TestDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace {

using Files = std::map<std::string, std::string>;

const std::string Long = " LONG" + std::string(295, 'x');

const TestCase Update = ReadCases("inventory/update.cases").at(0);
const std::string Work = Update.crlf("work");
const std::string Journal = Update.crlf("journal");
const std::string Applied = Update.crlf("applied");

void layOut(const TestDir& dir) {
    dir.write("Inventory.dat", Work);
    dir.write("Inventory.wrk", Work);
    dir.write("Inventory.new", Journal);
}

} // namespace

TEST(InventoryUpdate, ApplySumsTheJournalOnceWhereverItStopsAndKeepsUnreadableLines) {
    // Stopped after 0 to 3 operations, recovered and applied again (with
    // nothing left to apply); the last run is not stopped.
    for (size_t stop = 0; stop <= 4; ++stop) {
        TestDir dir;
        layOut(dir);
        DataFiles files(dir.path());
        Notices told = ApplyInventoryUpdates(files, stop < 4 ? stop : static_cast<size_t>(-1));
        RecoverFileCommit(dir.path());
        for (const Notice& notice : ApplyInventoryUpdates(files))
            told.push_back(notice);
        EXPECT_EQ(dir.files(), (Files{{"Inventory.dat", Applied}})) << "stopped after " << stop;
        EXPECT_EQ(noticeTexts(told),
                  (std::vector<std::string>{
                      "The file " + dir.path() +
                          "Inventory.dat has lines that can't be read (lines 4, 5, 7).\rThey are "
                          "kept unchanged.",
                      "The file " + dir.path() +
                          "Inventory.new has lines that can't be read (line 3).\rThey were left "
                          "out."}));
    }
}

TEST(InventoryUpdate, ApplyThatFailsChangesNothing) {
    {
        // The new inventory cannot be put in place.
        TestDir dir;
        layOut(dir);
        std::filesystem::create_directories(dir.file("Inventory.dat.~stg/blocked"));
        DataFiles files(dir.path());
        EXPECT_THROW(ApplyInventoryUpdates(files), IoError);
        for (const char* name : {"Inventory.dat", "Inventory.wrk"})
            EXPECT_EQ(dir.read(name), Work) << name;
        EXPECT_EQ(dir.read("Inventory.new"), Journal);
    }
    for (bool journal : {true, false}) {
        // No work copy: a journal waits; without one there is nothing to do.
        TestDir dir;
        dir.write("Inventory.dat", Work);
        if (journal) dir.write("Inventory.new", Journal);
        const Files before = dir.files();
        DataFiles files(dir.path());
        try {
            EXPECT_TRUE(ApplyInventoryUpdates(files).empty());
            EXPECT_FALSE(journal) << "no error";
        } catch (const IoError& e) {
            EXPECT_TRUE(journal);
            EXPECT_EQ(e.path(), dir.file("Inventory.wrk"));
        }
        EXPECT_EQ(dir.files(), before);
    }
}

TEST(InventoryUpdate, WorkCopyIsWholeOrNone) {
    TestDir dir;
    DataFiles files(dir.path());
    dir.write("Inventory.dat", Long + "\n" + " A" + "\r\n" + "last");
    MakeInventoryWorkCopy(files);
    EXPECT_EQ(dir.read("Inventory.wrk"), Long + "\r\n" + " A\r\n" + "last\r\n");

    std::filesystem::remove(dir.file("Inventory.dat"));
    try {
        MakeInventoryWorkCopy(files);
        ADD_FAILURE() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), dir.file("Inventory.dat"));
    }
    // The copy of an earlier visit is gone too: applied, it would bring back
    // an inventory that is no longer there.
    EXPECT_FALSE(dir.exists("Inventory.wrk"));
}

// A journal that cannot be written is the inventory screen's test.
TEST(InventoryUpdate, JournalLinesAreAppended) {
    TestDir dir;
    DataFiles files(dir.path());
    AppendInventoryChange(files, {"ABC          ", 12});
    AppendInventoryChange(files, {"ABC          ", -3});
    EXPECT_EQ(dir.read("Inventory.new"), " ABC                 12.0\r\n"
                                         " ABC                 -3.0\r\n");
}

TEST(InventoryUpdate, FindInventoryLine) {
    TestDir dir;
    const std::string inventory =
        "$EXP1" + sp(9) + " 0 0.0 0.0 0.0 0.00\r\n" + " 4011200296908 x 0.0 0.0 0.0 0.00\r\n" +
        "\r\n" +
        " 4011200296908    12        3.0          5.0           140.3           17.80\r\n" +
        " ABC\r\n";
    dir.write("Inventory.dat", inventory);
    DataFiles files(dir.path());
    const std::string notFoundEmpty = " This code  was not found !";
    const std::string brokenLine2 = "The file " + dir.path() +
                                    "Inventory.dat has lines that can't be read (line 2).\rThey "
                                    "are left as they are.";
    struct Case {
        std::string code;
        InventoryFind result;
        std::vector<std::string> messages;
    } cases[] = {
        // A readable line after an unreadable one of the same code.
        {"4011200296908", InventoryFind::Found, {brokenLine2}},
        // A line shorter than the code does not match its padded form.
        {"ABC" + sp(10), InventoryFind::NotFound, {" This code ABC" + sp(10) + " was not found !"}},
        {"", InventoryFind::NotFound, {notFoundEmpty}},
        {"EXP1" + sp(9),
         InventoryFind::Expense,
         {" This is an EXPENSE and can't be updated.", notFoundEmpty}},
    };
    for (const Case& c : cases) {
        InventoryLine line;
        InventorySearch search = FindInventoryLine(files, c.code, line);
        EXPECT_EQ(search.result, c.result) << c.code;
        EXPECT_EQ(noticeTexts(search.notices), c.messages) << c.code;
        if (c.result == InventoryFind::Found) {
            EXPECT_EQ(line.InvMinMax, 12);
            EXPECT_EQ(line.InvOnStock, 5.0);
        }
    }
    std::filesystem::remove(dir.file("Inventory.dat"));
    InventoryLine line;
    InventorySearch search = FindInventoryLine(files, "4011200296908", line);
    EXPECT_EQ(search.result, InventoryFind::NotFound);
    EXPECT_TRUE(search.notices.empty());
}

TEST(InventoryUpdate, LineDisplay) {
    InventoryLine line{' ', "4011200296908", 12, 3, 5, 140.25, 17.8};
    EXPECT_EQ(InventoryLineDisplay(line, 17.5),
              " 4011200296908   12         3        17.5       140.25");
}
