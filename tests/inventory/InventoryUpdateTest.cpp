#include "inventory/InventoryUpdate.h"
#include "platform/Dialogs.h"
#include "store/DataFiles.h"
#include "store/FileCommit.h"
#include "store/IoError.h"
#include "support/TestDir.h"

#include <dirent.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace {

std::string sp(size_t n) {
    return std::string(n, ' ');
}

struct RecordingDialogs : Dialogs {
    void message(const std::string& text) override { shown.push_back(text); }
    Answer confirm(const std::string& text, Buttons, std::optional<Position>) override {
        shown.push_back(text);
        return Answer::Cancel;
    }
    std::vector<std::string> shown;
};

std::map<std::string, std::string> filesIn(const TestDir& dir) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        files[e.path().filename().string()] = dir.read(e.path().filename().string());
    return files;
}

const std::string Long = " LONG" + std::string(295, 'x');

// Inventory.wrk as the update screen found it: a line the consolidation wrote
// (minmax in 5), an expense line, an empty line, a line with a faulty number,
// a 300-character line, the first code again (81 characters), a line too
// short for a code, and a last line with a bare LF before it and no line end.
const std::string Work = " 4011200296908    12        3.0          5.0           140.3"
                         "           17.80\r\n"
                         "$EXP1" +
                         sp(9) +
                         "     0        0.0          0.0             0.0            0.00\r\n"
                         "\r\n"
                         " BROKEN        12        1.0          x\r\n" +
                         Long + "\r\n" + " 4011200296908 " + sp(9) + "1 " + sp(7) + "0.0 " + sp(8) +
                         "-2.5 " + sp(12) + "0.0 " + sp(11) + "1.25\r\n" + " SHORT\r\n" +
                         " 5000112637922 " + sp(9) + "4 " + sp(7) + "1.0 " + sp(9) + "1.5 " +
                         sp(12) + "2.0 " + sp(11) + "3.00\n";

// +10 and -3 for the first code, one for a code not in the inventory, a
// damaged line, and two small ones whose sum carries binary noise.
const std::string Journal = " 4011200296908      10.0\r\n"
                            " 9999999999999      50.0\r\n"
                            "garbage\r\n"
                            " 4011200296908      -3.0\r\n"
                            " 5000112637922       0.1\r\n"
                            " 5000112637922       0.2\r\n";

// Every readable line in the 81-character layout with the journal's sums in
// the stock; the unreadable ones exactly as they were.
const std::string Applied =
    " 4011200296908 " + sp(8) + "12 " + sp(7) + "3.0 " + sp(8) + "12.0 " + sp(10) + "140.3 " +
    sp(10) + "17.80\r\n" + "$EXP1" + sp(9) + " " + sp(9) + "0 " + sp(7) + "0.0 " + sp(9) + "0.0 " +
    sp(12) + "0.0 " + sp(11) + "0.00\r\n" + "\r\n" + " BROKEN        12        1.0          x\r\n" +
    Long + "\r\n" + " 4011200296908 " + sp(9) + "1 " + sp(7) + "0.0 " + sp(9) + "4.5 " + sp(12) +
    "0.0 " + sp(11) + "1.25\r\n" + " SHORT\r\n" + " 5000112637922 " + sp(9) + "4 " + sp(7) +
    "1.0 " + sp(9) + "1.8 " + sp(12) + "2.0 " + sp(11) + "3.00\r\n";

void layOut(const TestDir& dir) {
    dir.write("Inventory.dat", Work);
    dir.write("Inventory.wrk", Work);
    dir.write("Inventory.new", Journal);
}

} // namespace

TEST(InventoryUpdate, ApplySumsTheJournalPerCodeAndKeepsUnreadableLines) {
    TestDir dir;
    layOut(dir);
    DataFiles files(dir.path());
    RecordingDialogs dialogs;
    ApplyInventoryUpdates(files, dialogs);
    EXPECT_EQ(filesIn(dir), (std::map<std::string, std::string>{{"Inventory.dat", Applied}}));
    EXPECT_EQ(dialogs.shown,
              (std::vector<std::string>{"The file " + dir.path() +
                                            "Inventory.dat has lines that can't be read (lines 4, "
                                            "5, 7).\rThey are kept unchanged.",
                                        "The file " + dir.path() +
                                            "Inventory.new has lines that can't be read (line "
                                            "3).\rThey were left out."}));
}

TEST(InventoryUpdate, ApplyTakesEffectExactlyOnceWhereverItStops) {
    for (size_t stop = 0; stop <= 3; ++stop) {
        TestDir dir;
        layOut(dir);
        DataFiles files(dir.path());
        RecordingDialogs dialogs;
        ApplyInventoryUpdates(files, dialogs, stop);
        RecoverFileCommit(dir.path());
        // What is left to apply after the recovery is nothing.
        ApplyInventoryUpdates(files, dialogs);
        EXPECT_EQ(filesIn(dir), (std::map<std::string, std::string>{{"Inventory.dat", Applied}}))
            << "stopped after " << stop;
    }
}

TEST(InventoryUpdate, ApplyThatFailsChangesNothing) {
    {
        // The new inventory cannot be put in place.
        TestDir dir;
        layOut(dir);
        std::filesystem::create_directories(dir.file("Inventory.dat.~stg/blocked"));
        DataFiles files(dir.path());
        RecordingDialogs dialogs;
        EXPECT_THROW(ApplyInventoryUpdates(files, dialogs), IoError);
        for (const char* name : {"Inventory.dat", "Inventory.wrk"})
            EXPECT_EQ(dir.read(name), Work) << name;
        EXPECT_EQ(dir.read("Inventory.new"), Journal);
    }
    {
        // No work copy: the journal waits.
        TestDir dir;
        dir.write("Inventory.dat", Work);
        dir.write("Inventory.new", Journal);
        DataFiles files(dir.path());
        RecordingDialogs dialogs;
        try {
            ApplyInventoryUpdates(files, dialogs);
            ADD_FAILURE() << "no error";
        } catch (const IoError& e) {
            EXPECT_EQ(e.path(), dir.file("Inventory.wrk"));
        }
        EXPECT_EQ(filesIn(dir), (std::map<std::string, std::string>{{"Inventory.dat", Work},
                                                                    {"Inventory.new", Journal}}));
    }
    {
        // Neither: nothing to do, and the inventory stays as it is.
        TestDir dir;
        dir.write("Inventory.dat", Work);
        DataFiles files(dir.path());
        RecordingDialogs dialogs;
        ApplyInventoryUpdates(files, dialogs);
        EXPECT_EQ(dir.read("Inventory.dat"), Work);
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

TEST(InventoryUpdate, JournalLinesAreAppendedOrTheFailureShown) {
    TestDir dir;
    DataFiles files(dir.path());
    AppendInventoryChange(files, {"ABC          ", 12});
    AppendInventoryChange(files, {"ABC          ", -3});
    EXPECT_EQ(dir.read("Inventory.new"), " ABC                 12.0\r\n"
                                         " ABC                 -3.0\r\n");

    TestDir blocked;
    std::filesystem::create_directories(blocked.file("Inventory.new"));
    DataFiles other(blocked.path());
    try {
        AppendInventoryChange(other, {"ABC          ", 1});
        ADD_FAILURE() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), blocked.file("Inventory.new"));
    }
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
        {"EXP1" + sp(9),
         InventoryFind::Expense,
         {" This is an EXPENSE and can't be updated.", notFoundEmpty}},
        // A line shorter than the code does not match its padded form.
        {"ABC" + sp(10), InventoryFind::NotFound, {" This code ABC" + sp(10) + " was not found !"}},
        {"", InventoryFind::NotFound, {notFoundEmpty}},
    };
    for (const Case& c : cases) {
        RecordingDialogs dialogs;
        InventoryLine line;
        EXPECT_EQ(FindInventoryLine(files, c.code, line, dialogs), c.result) << c.code;
        EXPECT_EQ(dialogs.shown, c.messages) << c.code;
        if (c.result == InventoryFind::Found) {
            EXPECT_EQ(line.InvMinMax, 12);
            EXPECT_EQ(line.InvOnStock, 5.0);
        }
    }
    std::filesystem::remove(dir.file("Inventory.dat"));
    RecordingDialogs dialogs;
    InventoryLine line;
    EXPECT_EQ(FindInventoryLine(files, "4011200296908", line, dialogs), InventoryFind::NotFound);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST(InventoryUpdate, LineDisplay) {
    InventoryLine line{' ', "4011200296908", 12, 3, 5, 140.25, 17.8};
    EXPECT_EQ(InventoryLineDisplay(line, 17.5),
              " 4011200296908   12         3        17.5       140.25");
}
