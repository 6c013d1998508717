#include "takings/TakingsJournal.h"
#include "pricelist/CurrentArticle.h"
#include "store/IoError.h"
#include "store/TextAppender.h"
#include "store/TextReader.h"
#include "support/TestDir.h"
#include "till/SaleState.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

namespace {

SaleState milkSale() {
    SaleState sale;
    sale.CurrentSalesPerson = "A";
    sale.EnteredCode = "MILK1";
    sale.Quantity = 2;
    sale.UnitPrice = 1.25;
    sale.LineAmount = 2.5;
    sale.PaidCash = 2.5;
    sale.SaleTotal = 2.5;
    sale.Received = 2.5;
    return sale;
}

const char* const MilkLine =
    "A MILK1             2.00       0.00         0.00         1.25          2.50\r\n";
const char* const MilkTotal = "# Total*** 9:05    2.50     0.00     0.00             0.00        "
                              "2.50        2.50  0.00\r\n";

} // namespace

TEST(TakingsJournal, RecordsGoOnDiskInOrderAndAnExistingFileKeepsItsName) {
    TestDir dir;
    dir.write("RESULTS.DAT", "* START of SALE   07/12/26 08:00\r\n");
    TakingsJournal journal(dir.path());
    const SaleState sale = milkSale();
    journal.WriteResultsLine('A', sale, CurrentArticle{});
    // Each record is in the file at once, not when the journal lets go.
    EXPECT_EQ(dir.read("RESULTS.DAT"),
              std::string("* START of SALE   07/12/26 08:00\r\n") + MilkLine);
    journal.WriteResultsTotal(sale, "9:05");
    journal.close();
    EXPECT_FALSE(journal.isOpen());
    EXPECT_EQ(dir.read("RESULTS.DAT"),
              std::string("* START of SALE   07/12/26 08:00\r\n") + MilkLine + MilkTotal);
    EXPECT_FALSE(dir.exists("Results.dat.~tmp"));
}

TEST(TakingsJournal, ARecordThatFailsLeavesNothingAndIsRecordedOnceWhenWrittenAgain) {
    TestDir dir;
    TakingsJournal journal(dir.path());
    const SaleState sale = milkSale();
    journal.WriteStartRecord("07/12/26 08:00:00");

    // A full disk: every write fails.
    ASSERT_EQ(std::rename(dir.file("Results.dat").c_str(), dir.file("kept").c_str()), 0);
    ASSERT_EQ(::symlink("/dev/full", dir.file("Results.dat").c_str()), 0);
    journal.close();
    EXPECT_THROW(journal.WriteResultsLine('A', sale, CurrentArticle{}), IoError);
    EXPECT_FALSE(journal.isOpen());

    // The disk has room again: the same record is written once.
    ASSERT_EQ(std::remove(dir.file("Results.dat").c_str()), 0);
    ASSERT_EQ(std::rename(dir.file("kept").c_str(), dir.file("Results.dat").c_str()), 0);
    journal.WriteResultsLine('A', sale, CurrentArticle{});
    journal.close();
    EXPECT_EQ(dir.read("Results.dat"),
              std::string("* START of SALE   07/12/26 08:00\r\n") + MilkLine);
}

TEST(TakingsJournal, AFileThatCannotBeOpenedIsNamedByTheRecord) {
    TestDir dir;
    TakingsJournal journal(dir.file("missing/"));
    EXPECT_FALSE(journal.open());
    try {
        journal.WriteResultsTotal(milkSale(), "9:05");
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(e.path(), dir.file("missing/") + "Results.dat");
    }
}

// A file read and then, once it had vanished, created afresh holds only what
// was written to it: a handle once reused for both wrote its old read buffer
// into the new file.
TEST(TextFile, ACreatedFileHoldsOnlyWhatWasWrittenAfterAnEarlierRead) {
    TestDir dir;
    dir.write("Pricelist.wrk", "old line\r\n");
    std::optional<TextReader> reader = TextReader::Open(dir.file("Pricelist.wrk"));
    ASSERT_TRUE(reader);
    std::string line;
    ASSERT_TRUE(reader->readFullLine(line));
    ASSERT_EQ(std::remove(dir.file("Pricelist.wrk").c_str()), 0);
    std::optional<TextAppender> appender = TextAppender::OpenElseCreate(dir.file("Pricelist.wrk"));
    ASSERT_TRUE(appender);
    appender->writeLine("new line");
    appender->close();
    EXPECT_EQ(dir.read("Pricelist.wrk"), "new line\r\n");
}
